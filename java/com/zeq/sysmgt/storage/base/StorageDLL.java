package com.zeq.sysmgt.storage.base;

import com.zeq.sysmgt.storage.api.AdapterCount;
import com.zeq.sysmgt.storage.api.AdapterFeatures;
import com.zeq.sysmgt.storage.api.AdapterInfo;
import com.zeq.sysmgt.storage.api.AdapterLimits;
import com.zeq.sysmgt.storage.api.AdapterStatistics;
import com.zeq.sysmgt.storage.api.AdapterStatus;
import com.zeq.sysmgt.storage.api.AddrList;
import com.zeq.sysmgt.storage.api.ArraySize;
import com.zeq.sysmgt.storage.api.BBCacheInfo;
import com.zeq.sysmgt.storage.api.BlVal;
import com.zeq.sysmgt.storage.api.ByteBlk;
import com.zeq.sysmgt.storage.api.ChannelInfo;
import com.zeq.sysmgt.storage.api.DataAddr;
import com.zeq.sysmgt.storage.api.DeviceInfo;
import com.zeq.sysmgt.storage.api.DeviceSize;
import com.zeq.sysmgt.storage.api.DllType;
import com.zeq.sysmgt.storage.api.ElementDescPage;
import com.zeq.sysmgt.storage.api.ExtendedBatteryData;
import com.zeq.sysmgt.storage.api.FailoverInfo;
import com.zeq.sysmgt.storage.api.HotPCISlots;
import com.zeq.sysmgt.storage.api.IVal;
import com.zeq.sysmgt.storage.api.InitiatorIDs;
import com.zeq.sysmgt.storage.api.LVal;
import com.zeq.sysmgt.storage.api.LoopInfo;
import com.zeq.sysmgt.storage.api.MaxAddr;
import com.zeq.sysmgt.storage.api.PhysicalDeviceStatistics;
import com.zeq.sysmgt.storage.api.ProgressInfo;
import com.zeq.sysmgt.storage.api.QuillcopyProgress;
import com.zeq.sysmgt.storage.api.QuillcopyStatus;
import com.zeq.sysmgt.storage.api.RaidAdapterInfo;
import com.zeq.sysmgt.storage.api.RaidArrayInfo;
import com.zeq.sysmgt.storage.api.RaidConfig;
import com.zeq.sysmgt.storage.api.SVal;
import com.zeq.sysmgt.storage.api.SafteConfig;
import com.zeq.sysmgt.storage.api.SafteStatus;
import com.zeq.sysmgt.storage.api.StorAddr;
import com.zeq.sysmgt.storage.api.StorRet;
import com.zeq.sysmgt.storage.api.SubSystemInfo;
import com.zeq.sysmgt.storage.api.SubSystemStatus;
import com.zeq.sysmgt.storage.api.VPD_INQ_DATA;
import com.zeq.sysmgt.storage.api.Version;
import com.zeq.sysmgt.storage.api.VirtDrv;
import com.zeq.sysmgt.storage.api.VirtualDeviceInfo;
import com.zeq.sysmgt.storage.api.VirtualDeviceStatistics;
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

    // ---- diagnostics, self tests and settings

    public native void ExecuteAdapterDiagnostics(StorRet ret, StorAddr addr, long test, long option);

    public native void SetAdapChanInitID(StorRet ret, StorAddr addr, long initiatorId);

    public native void BatteryBackupCache(StorRet ret, StorAddr addr, boolean enable);

    public native void SetBiosMappingMode(StorRet ret, StorAddr addr, int mode);

    public native void MaxSimultaneousDevSpinUp(StorRet ret, StorAddr addr, long count, long delay);

    public native void ExecuteDeviceDiagnostics(StorRet ret, StorAddr addr, long test, long option);

    public native void DriveSelfTest(StorRet ret, StorAddr addr, int test, int option1, int option2);

    public native void CheckDriveSelfTestProgress(StorRet ret, StorAddr addr, SVal percent);

    public native void GetDriveSelfTestLog(StorRet ret, StorAddr addr, ByteBlk log, SVal count);

    public native void FormatDevice(StorRet ret, StorAddr addr);

    public native void SetDevXferSpeed(StorRet ret, StorAddr addr, long speed);

    // ---- adapter, channel and device queries

    public native void SupportedAdapterCount(StorRet ret, StorAddr addr, AdapterCount adapters);

    public native void AdapterStatus(StorRet ret, StorAddr addr, AdapterStatus status);

    public native void AdapterInfo(StorRet ret, StorAddr addr, AdapterInfo info);

    public native void ChannelInfo(StorRet ret, StorAddr addr, ChannelInfo info);

    public native void ChannelDeviceCount(StorRet ret, StorAddr addr, AddrList devices);

    public native void AdapterDeviceCount(StorRet ret, StorAddr addr, IVal count);

    public native void DeviceType(StorRet ret, StorAddr addr, IVal type);

    public native void DeviceCapacity(StorRet ret, StorAddr addr, DeviceSize size);

    public native void DeviceInfo(StorRet ret, StorAddr addr, DeviceInfo info);

    public native void PFADevice(StorRet ret, StorAddr addr, BlVal failurePredicted, LVal info);

    // ---- firmware, raw commands and mode pages

    public native void UpdateAdapterBios(StorRet ret, StorAddr addr, ByteBlk image);

    public native void UpdateAdapterFirmWare(StorRet ret, StorAddr addr, ByteBlk image);

    public native void UpdateDeviceFirmWare(StorRet ret, StorAddr addr, ByteBlk image);

    public native void ExecAdapterCmnd(StorRet ret, StorAddr addr, ByteBlk command, ByteBlk read, ByteBlk write,
            ByteBlk sense, long timeout, long flags, boolean readFlag, boolean senseFlag);

    public native void ExecDeviceCmnd(StorRet ret, StorAddr addr, ByteBlk command, ByteBlk read, ByteBlk write,
            ByteBlk sense, long timeout, long flags, boolean readFlag, boolean senseFlag);

    public native void ReadModePageCmnd(StorRet ret, StorAddr addr, ByteBlk page, long pageCode);

    public native void WriteModePageCmnd(StorRet ret, StorAddr addr, ByteBlk page, long pageCode);

    // ---- device I/O, statistics and enclosures

    public native void ReadDevice(StorRet ret, StorAddr addr, DataAddr data, ByteBlk block, ByteBlk sense,
            long timeout, long flags, boolean option);

    public native void WriteDevice(StorRet ret, StorAddr addr, DataAddr data, ByteBlk block, ByteBlk sense,
            long timeout, long flags, boolean option);

    public native void ReadPhysDisk(StorRet ret, StorAddr addr, DataAddr data, ByteBlk block, ByteBlk sense,
            long timeout, long flags, boolean option);

    public native void WritePhysDisk(StorRet ret, StorAddr addr, DataAddr data, ByteBlk block, ByteBlk sense,
            long timeout, long flags, boolean option);

    public native void MonitorAdapterStatistics(StorRet ret, StorAddr addr, boolean enable);

    public native void MonitorDeviceStatistics(StorRet ret, StorAddr addr, boolean enable);

    public native void GetAdapterStatistics(StorRet ret, StorAddr addr, AdapterStatistics statistics);

    public native void GetAdapterChangeStatus(StorRet ret, BlVal changed);

    public native void GetDeviceStatistics(StorRet ret, StorAddr addr, PhysicalDeviceStatistics statistics);

    /** unused is not read. */
    public native void GetSafteCount(StorRet ret, StorAddr addr, IVal unused, AddrList enclosures);

    public native void GetSafteConfig(StorRet ret, StorAddr addr, SafteConfig config);

    public native void GetSafteStatus(StorRet ret, StorAddr addr, SafteStatus status);

    public native void GetSystemVPD(StorRet ret, StorAddr addr, VPD_INQ_DATA vpd);

    public native void GetSesElementDesc(StorRet ret, StorAddr addr, ElementDescPage page);

    // ---- slots, failover and adapter control

    /** The power state arrives in ret.iSignedReturnValue. */
    public native void GetSlotPowerState(StorRet ret, StorAddr addr, int slot);

    public native void SetSlotPowerState(StorRet ret, StorAddr addr, int slot, boolean on);

    public native void SetHotSwapState(StorRet ret, int slot, boolean state);

    public native void GetFailoverInfo(StorRet ret, StorAddr addr, FailoverInfo info);

    public native void FindHotPCISlots(StorRet ret, HotPCISlots slots);

    public native void BlockBadAdapter(StorRet ret, StorAddr addr);

    public native void UnblockGoodAdapter(StorRet ret, StorAddr addr);

    public native void SetAdapterDefective(StorRet ret, StorAddr addr);

    public native void ResetNewAdapter(StorRet ret, StorAddr addr);

    public native void GetInitiatorIDs(StorRet ret, StorAddr addr, InitiatorIDs ids);

    public native void TimeStampFirmware(StorRet ret, StorAddr addr);

    public native void CheckCodeVersions(StorRet ret, StorAddr addr, LVal mismatch);

    // ---- device event logs, identify and RAID statistics

    public native void GetPhysDevEventLog(StorRet ret, StorAddr addr, ByteBlk log, byte selector);

    public native void ErasePhysDevEventLog(StorRet ret, StorAddr addr, byte selector);

    public native void IdentifyPhysicalDrive(StorRet ret, StorAddr addr, byte selector);

    public native void MonitorRaidStatistics(StorRet ret, StorAddr addr, boolean enable);

    public native void GetRaidStatistics(StorRet ret, StorAddr addr, ByteBlk statistics);

    public native void GetVirtDevStatistics(StorRet ret, StorAddr addr, VirtualDeviceStatistics statistics);

    // ---- subsystems

    public native void IsSubSystemPresent(StorRet ret, BlVal present);

    public native int cGetSubSysIntfVersion(Version version);

    public native void GetSubSystemConfig(StorRet ret, StorAddr addr, ByteBlk config);

    public native void SetSubSystemConfig(StorRet ret, StorAddr addr, ByteBlk config);

    public native void ExecuteSubSystemDiagnostics(StorRet ret, StorAddr addr, long test, long option);

    public native void SupportedSubSystemCount(StorRet ret, StorAddr addr, AddrList subsystems);

    public native void SubSystemStatus(StorRet ret, StorAddr addr, SubSystemStatus status);

    public native void SubSystemInfo(StorRet ret, StorAddr addr, SubSystemInfo info);

    public native void LoopInfo(StorRet ret, StorAddr addr, LoopInfo info);

    public native void UpdateSubSystemBios(StorRet ret, StorAddr addr, ByteBlk image);

    public native void UpdateSubSystemFirmWare(StorRet ret, StorAddr addr, ByteBlk image);

    public native void GetSubSystemEventLog(StorRet ret, StorAddr addr, ByteBlk log, byte selector);

    public native void EraseSubSystemEventLog(StorRet ret, StorAddr addr, byte selector);

    public native void ExecSubSystemCmnd(StorRet ret, StorAddr addr, ByteBlk command, ByteBlk read, ByteBlk write,
            ByteBlk sense, long timeout, long flags, boolean readFlag, boolean senseFlag);

    public native void SubSystemDeviceType(StorRet ret, StorAddr addr, SVal type);

    public native void SubSystemDeviceCapacity(StorRet ret, StorAddr addr, DeviceSize size);

    public native void SubSystemDeviceInfo(StorRet ret, StorAddr addr, DeviceInfo info);

    public native void MonitorSubSystemStatistics(StorRet ret, StorAddr addr, boolean enable);

    public native void GetSubSystemStatistics(StorRet ret, StorAddr addr, ByteBlk statistics);

    // ---- the RAID configuration, arrays, logical and physical drives, task
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
