package com.zeq.sysmgt.storage.base;

import com.zeq.sysmgt.storage.api.AdapterFeatures;
import com.zeq.sysmgt.storage.api.AdapterLimits;
import com.zeq.sysmgt.storage.api.AddrList;
import com.zeq.sysmgt.storage.api.ArraySize;
import com.zeq.sysmgt.storage.api.BBCacheInfo;
import com.zeq.sysmgt.storage.api.BlVal;
import com.zeq.sysmgt.storage.api.ByteBlk;
import com.zeq.sysmgt.storage.api.DataAddr;
import com.zeq.sysmgt.storage.api.DeviceSize;
import com.zeq.sysmgt.storage.api.DllType;
import com.zeq.sysmgt.storage.api.ExtendedBatteryData;
import com.zeq.sysmgt.storage.api.IVal;
import com.zeq.sysmgt.storage.api.LVal;
import com.zeq.sysmgt.storage.api.MaxAddr;
import com.zeq.sysmgt.storage.api.ProgressInfo;
import com.zeq.sysmgt.storage.api.QuillcopyProgress;
import com.zeq.sysmgt.storage.api.QuillcopyStatus;
import com.zeq.sysmgt.storage.api.RaidAdapterInfo;
import com.zeq.sysmgt.storage.api.RaidArrayInfo;
import com.zeq.sysmgt.storage.api.RaidConfig;
import com.zeq.sysmgt.storage.api.SVal;
import com.zeq.sysmgt.storage.api.StorAddr;
import com.zeq.sysmgt.storage.api.StorRet;
import com.zeq.sysmgt.storage.api.Version;
import com.zeq.sysmgt.storage.api.VirtDrv;
import com.zeq.sysmgt.storage.api.VirtualDeviceInfo;
import com.zeq.sysmgt.storage.api.Vpd;

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

    // The RAID configuration, arrays, logical and physical drives, task
    // progress, and cluster, FRU, battery and feature data.

    public native void IsRaidPresent(StorRet ret, BlVal present);

    public native int cGetRaidIntfVersion(Version version);

    public native void SetRebuildPriority(StorRet ret, StorAddr addr, int priority);

    public native void SetCopyBackMode(StorRet ret, StorAddr addr, boolean on);

    public native void SetAttendanceMode(StorRet ret, StorAddr addr, boolean on);

    public native void SetReadAheadMode(StorRet ret, StorAddr addr, boolean on);

    public native void SetStripeSliceSize(StorRet ret, StorAddr addr, long size);

    public native void GetAdapterRaidConfig(StorRet ret, StorAddr addr, RaidConfig config, boolean flag);

    public native void GetVirtDevLdTable(StorRet ret, StorAddr addr, VirtDrv table, int tableType);

    public native void ResetAdapterRaidConfig(StorRet ret, StorAddr addr, boolean flag);

    public native void SetAdapterRaidConfig(StorRet ret, StorAddr addr, ByteBlk config);

    public native void SetAdapterRaidConfigFromDevice(StorRet ret, StorAddr addr, boolean flag);

    public native void SetWritePolicy(StorRet ret, StorAddr addr, int policy);

    public native void DuplicateVirtDev(StorRet ret, StorAddr addr, StorAddr other);

    public native void RaidAdapterInfo(StorRet ret, StorAddr addr, RaidAdapterInfo info);

    public native void GetAdapterEventLog(StorRet ret, StorAddr addr, ByteBlk log, int logType);

    public native void EraseAdapterEventLog(StorRet ret, StorAddr addr, int logType);

    public native void CreateArray(StorRet ret, StorAddr addr, AddrList devices);

    public native void DeleteArray(StorRet ret, StorAddr addr, int value);

    public native void GetArrayCount(StorRet ret, StorAddr addr, AddrList arrays);

    public native void GetArrayVirtDevCount(StorRet ret, StorAddr addr, AddrList drives);

    public native void GetArrayPhysDevCount(StorRet ret, StorAddr addr, AddrList devices);

    public native void ArrayInfo(StorRet ret, StorAddr addr, RaidArrayInfo info);

    public native void HotSwapRebuild(StorRet ret, StorAddr addr, boolean on);

    public native void AdapterDeviceScan(StorRet ret, StorAddr addr, IVal found);

    public native void SetHostConfigId(StorRet ret, StorAddr addr, String hostId);

    public native void ClearClusterPartnerId(StorRet ret, StorAddr addr);

    public native void SetClusterPartnerId(StorRet ret, StorAddr addr, String partnerId);

    public native void GetClusterPartnerId(StorRet ret, StorAddr addr, ByteBlk partnerId);

    public native void SetSharedDeviceId(StorRet ret, StorAddr addr, IVal id);

    public native void GetSharedDeviceId(StorRet ret, StorAddr addr, IVal id);

    public native void GetAdapterFruData(StorRet ret, StorAddr addr, Vpd vpd);

    public native void GetExtendedBatteryData(StorRet ret, StorAddr addr, ExtendedBatteryData battery);

    public native void GetSupportedFeatures(StorRet ret, StorAddr addr, AdapterFeatures features);

    public native void GetBBCacheInfo(StorRet ret, StorAddr addr, BBCacheInfo info);

    public native void GetVirtDevCount(StorRet ret, StorAddr addr, AddrList drives);

    public native void GetFirstVirtDev(StorRet ret, StorAddr addr);

    public native void GetLastVirtDev(StorRet ret, StorAddr addr);

    public native void CreateVirtDev(StorRet ret, StorAddr addr, int raidLevel, long size, long value, int deviceCount,
            AddrList devices, int options);

    public native void CreateVirtDevHld(StorRet ret, StorAddr addr, long size, int count, AddrList drives);

    public native void DeleteVirtDev(StorRet ret, StorAddr addr);

    public native void DeleteVirtDevOption(StorRet ret, StorAddr addr, int option);

    public native void GetVirtDevSize(StorRet ret, StorAddr addr, DeviceSize size);

    public native void GetVirtDevInfo(StorRet ret, StorAddr addr, VirtualDeviceInfo info);

    public native void SynchronizeVirtDev(StorRet ret, StorAddr addr, int option);

    public native void CheckSynchronizeVirtDevProgress(StorRet ret, StorAddr addr, SVal progress);

    public native void InitializeVirtDev(StorRet ret, StorAddr addr, int option);

    public native void CheckInitializeVirtDevProgress(StorRet ret, StorAddr addr, SVal progress);

    public native void MigrateVirtDev(StorRet ret, StorAddr source, StorAddr target);

    public native void CheckMigrateVirtDevProgress(StorRet ret, StorAddr addr, SVal progress);

    public native void RestartMigration(StorRet ret, StorAddr addr);

    public native void IncreaseArraySize(StorRet ret, StorAddr addr, ArraySize size, AddrList devices, int deviceCount);

    public native void ModifyArrayRaidLevel(StorRet ret, StorAddr addr, int raidLevel, AddrList devices,
            int deviceCount);

    public native void IncreaseVirtDevSizes(StorRet ret, StorAddr addr, DeviceSize size, AddrList devices,
            int deviceCount);

    public native void ModifyVirtDevRaidLevel(StorRet ret, StorAddr addr, int raidLevel, AddrList devices);

    public native void FailActiveToPassive(StorRet ret, StorAddr addr);

    public native void UnBlockVirtDev(StorRet ret, StorAddr addr);

    public native void MergeVirtDev(StorRet ret, StorAddr addr, int first, boolean flag, int second);

    public native void UnMergeVirtDev(StorRet ret, StorAddr addr, int value, boolean flag);

    public native void ClearMergeGroupId(StorRet ret, StorAddr addr);

    public native void SetMergeGroupId(StorRet ret, StorAddr addr, int groupId, boolean flag);

    public native void ReadVirtDevice(StorRet ret, StorAddr addr, DataAddr data, ByteBlk block1, ByteBlk block2,
            long first, long second, boolean flag);

    public native void WriteVirtDevice(StorRet ret, StorAddr addr, DataAddr data, ByteBlk block1, ByteBlk block2,
            long first, long second, boolean flag);

    public native void AddPhysDev(StorRet ret, StorAddr addr, int value);

    public native void RemovePhysDev(StorRet ret, StorAddr addr);

    public native void ReplacePhysDev(StorRet ret, StorAddr addr);

    public native void StartPhysDev(StorRet ret, StorAddr addr);

    public native void StopPhysDev(StorRet ret, StorAddr addr);

    public native void GetPhysDevState(StorRet ret, StorAddr addr, SVal state);

    public native void SetPhysDevState(StorRet ret, StorAddr addr, int state);

    public native void ClearDeviceRaidConfig(StorRet ret, StorAddr addr);

    public native void RebuildPhysDev(StorRet ret, StorAddr addr);

    public native void RebuildPhysDevToOtherDev(StorRet ret, StorAddr addr, StorAddr other);

    public native void CheckRebuildProgress(StorRet ret, StorAddr addr, SVal progress, SVal value);

    public native void CheckProgress(StorRet ret, StorAddr addr, ProgressInfo progress);

    public native void CheckQuillcopyProgress(StorRet ret, StorAddr addr, QuillcopyProgress progress);

    public native void GetQuillcopyStatus(StorRet ret, StorAddr addr, QuillcopyStatus status, int option);
}
