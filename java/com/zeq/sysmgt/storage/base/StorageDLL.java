package com.zeq.sysmgt.storage.base;

import com.zeq.sysmgt.storage.api.AdapterLimits;
import com.zeq.sysmgt.storage.api.BlVal;
import com.zeq.sysmgt.storage.api.DllType;
import com.zeq.sysmgt.storage.api.LVal;
import com.zeq.sysmgt.storage.api.MaxAddr;
import com.zeq.sysmgt.storage.api.StorAddr;
import com.zeq.sysmgt.storage.api.StorRet;
import com.zeq.sysmgt.storage.api.Version;

/**
 * The native interface of the controller C API. The core library that
 * implements the natives is loaded by the caller. constructDllObject opens
 * the C-API library of the given name for this object, destructDllObject
 * closes it; iCppDllPtr identifies this object's interface to the library
 * (0: none).
 */
public class StorageDLL {
    public int iCppDllPtr;

    public native int constructDllObject(String dllName);

    public native int destructDllObject();

    public native boolean cConstructorOK(LVal failId);

    public native int cGetDLLType(DllType type);

    public native int cGetDLLVersion(Version version);

    public native int cGetDLLIntfVersion(Version version);

    public native int cGetAddressScheme(StorAddr addr);

    public native void GetLimits(StorRet ret, AdapterLimits limits);

    public native int cGetMaxValues(MaxAddr max);

    public native int cGetDeviceDriverVersion(Version version);

    public native int cGetDeviceDriverVersion(StorAddr addr, Version version);

    public native int cGetClusterDllVersion(Version version);

    public native void IsStoragePresent(StorRet ret, BlVal present);

    public native int cGetStorageIntfVersion(Version version);
}
