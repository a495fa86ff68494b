#ifndef STORCONV_H
#define STORCONV_H

// StorageDataConverter: moves data between the Java value objects of the
// legacy Java controller bridge (package com.zeq.sysmgt.storage.api) and the
// records of the controller C API, field by field, by field name and JNI
// signature. One instance serves the whole process (storjdll.h); it keeps
// nothing between calls, so any number of threads use it at once, each with
// its own JNIEnv.
//
// The virtual operations keep the order of the original interface. Names
// read <Java class>Java_TO_<record>cpp for Java to C and
// <record>cpp_TO_<Java class>Java for C to Java. Record converters return 0
// whatever they met; a null Java object converts nothing. The record
// converters follow the field tables of convtables.h. Thirty-four operations
// convert nothing at all (the bridge passes those records through without
// looking at them).

#include <jni.h>

#include "RaidLib/Util/StorExport.h"
#include "storagedll/bridgerec.h"
#include "storagedll/sret.h"

class STOR_EXPORT StorageDataConverter {
public:
    StorageDataConverter();
    virtual ~StorageDataConverter();

    // Writes failId (0) and returns okFlag (1).
    virtual int ConstructorOK(uint32_t& failIdOut);

    // ---- Java to C
    virtual int StorRetJava_TO_S_Retcpp(JNIEnv* env, jobject obj, S_Ret& ret);
    // Writes the fourteen ids (low 16 bits), ulMap (low 32 bits) and the
    // first min(length, 8) name bytes; the other name bytes stay.
    virtual int StorAddrJava_TO_STADDRcpp(JNIEnv* env, jobject obj, _STORAGE_ADDRESS_ID& addr);
    virtual int VersionJava_TO_VERSIONcpp(JNIEnv* env, jobject obj, _STORAGE_VERSION& version);
    virtual int DllTypeJava_TO_DLL_TYPEcpp(JNIEnv* env, jobject obj, _DLL_TYPE& rec);
    virtual int AdapterStatusJava_TO_ADAPTER__STATUScpp(JNIEnv* env, jobject obj, _STORAGE_ADAPTER_STATUS& rec);
    virtual int SubSystemStatusJava_TO_SUBSYSTEM_STATUScpp(JNIEnv* env, jobject obj, _SUBSYSTEM_STATUS& rec);
    virtual int MaxAddrJava_TO_MAX_ADDRcpp(JNIEnv* env, jobject obj, _MAX_ADDR_VALUES& rec);

    // ---- C to Java
    // The seven fixed limits of the bridge.
    virtual int DLL_Limits_TO_AdapterLimitsJava(JNIEnv* env, jobject obj);
    virtual int ACONFIGcpp_TO_RaidConfigJava(JNIEnv* env, jobject obj, _ADAPTER_CONFIG& config);
    // For i from 0 to 7 the object in "oVirtDrv" + i: filled from record i
    // while i is below count, else only its "bState" set to 0. A null first
    // record counts as none.
    virtual int VIRT_DRV_PARMScpp_TO_VirtDrvJava(JNIEnv* env, jobject obj, uint32_t count, _VIRT_DRV_PARMS* first);

    // ---- Java to C
    virtual int AdapterTypeJava_TO_ADAP_TYPEcpp(JNIEnv* env, jobject obj, _ADAPTER_TYPE& rec);
    virtual int AdapterInfoJava_TO_ADAPTER_INFOcpp(JNIEnv* env, jobject obj, _ADAPTER_INFO& rec);
    virtual int ChannelInfoJava_TO_CHANNEL_INFOcpp(JNIEnv* env, jobject obj, _CHANNEL_INFO& rec);
    virtual int DeviceSizeJava_TO_DEVICE_SIZEcpp(JNIEnv* env, jobject obj, _DEVICE_SIZE& size);
    // Type, code, time, and the two texts cut to their areas and terminated
    // (a null String gives an empty text).
    virtual int RaidEventJava_TO_RAID_EVENTcpp(JNIEnv* env, jobject obj, _RAID_EVENT* event);
    virtual int ArraySizeJava_TO_ARRAY_SIZEcpp(JNIEnv* env, jobject obj, _ARRAY_SIZE& size);
    virtual int RaidAdapterInfoJava_TO_RAID_ADAPTER_INFOcpp(JNIEnv* env, jobject obj, _RAID_ADAPTER_INFO& rec);
    virtual int RaidArrayInfoJava_TO_RAID_ARRAY_INFOcpp(JNIEnv* env, jobject obj, _RAID_ARRAY_INFO& rec);
    virtual int VirtualDeviceInfoJava_TO_VIRT_DEVICE_INFOcpp(JNIEnv* env, jobject obj, _VIRTUAL_DEVICE_INFO& rec);
    virtual int LoopInfoJava_TO_LOOP_INFOcpp(JNIEnv* env, jobject obj, _LOOP_INFO& rec);
    virtual int SubSystemInfoJava_TO_SUBSYSTEM_INFOcpp(JNIEnv* env, jobject obj, _SUBSYSTEM_INFO& rec);
    virtual int DeviceInfoJava_TO_DEVICE_INFOcpp(JNIEnv* env, jobject obj, _DEVICE_INFO& rec);
    virtual int DataAddrJava_TO_DTADDRcpp(JNIEnv* env, jobject obj, _DATA_ADDRESS& rec);
    // A block of 4 x "iBlockLength" bytes, new[] into buffer (a block it
    // held is released first; the caller owns the new one), with the first
    // "iBytesXferLen" bytes of "byteArray". 0; -2 for a negative length, a
    // transfer longer than the array or than the block, or a null ByteBlk
    // (nothing copied; the block stays allocated when its length was not
    // negative); -3 when no block can be had.
    virtual int ByteBlkJava_TO_PVOIDcpp(JNIEnv* env, jobject obj, void*& buffer, uint32_t& blockLength,
                                        uint32_t& transferLength);
    virtual int CmndBlkJava_TO_PVOIDcpp(JNIEnv* env, jobject obj, void*& buffer, uint32_t& blockLength,
                                        uint32_t& transferLength);
    virtual int AdapterStatisticsJava_TO_ADAPTER_STATScpp(JNIEnv* env, jobject obj, _ADAPTER_STATISTICS& rec);
    virtual int PhysicalDeviceStatisticsJava_TO_PHYS_DEV_STATScpp(JNIEnv* env, jobject obj,
                                                                  _PHYSICAL_DEVICE_STATISTICS& rec);
    virtual int VirtualDeviceStatisticsJava_TO_VIRT_DEV_STATScpp(JNIEnv* env, jobject obj,
                                                                 _VIRTUAL_DEVICE_STATISTICS& rec);
    virtual int VirtualDeviceGroupJava_TO_VIRT_DEV_GRPcpp(JNIEnv* env, jobject obj, _VIRTUAL_DEVICE_GROUP& rec);
    virtual int ScsiInquiryDataJava_TO_SCSI_INQ_DATAcpp(JNIEnv* env, jobject obj, ST_SCSI_INQUIRY_DATA& rec);
    virtual int SafteConfigJava_TO_SAFTE_CONFIGcpp(JNIEnv* env, jobject obj, _SAFTE_CONFIGURATION& rec);
    virtual int SafteStatusJava_TO_SAFTE_STATUScpp(JNIEnv* env, jobject obj, _SAFTE_STATUS& rec);
    // count (set by the caller) addresses from the list's "getAddress", new[]
    // into list (an array it held is released first; the caller owns the new
    // one, zeroed, count x 40 bytes, its size in byteSize). 0; -2 for a null
    // list, a count above the list's own count or above 65535, or a null
    // element; -3 without "getAddressCount" or without memory; -9 without
    // "getAddress" (the array stays allocated).
    virtual int AddrListJava_TO_PSTADDRcpp(JNIEnv* env, jobject obj, _STORAGE_ADDRESS_ID*& list, uint32_t& byteSize,
                                           uint32_t& count);
    // The holders through their getters; a target stays as it was when the
    // holder cannot be read.
    virtual int IValJava_TO_INT_REFcpp(JNIEnv* env, jobject obj, int& value);
    virtual int SValJava_TO_USHORT_REFcpp(JNIEnv* env, jobject obj, uint16_t& value);
    virtual int LValJava_TO_ULONG_REFcpp(JNIEnv* env, jobject obj, uint32_t& value);
    virtual int BlValJava_TO_BOOL_REFcpp(JNIEnv* env, jobject obj, int& value);

    // ---- C to Java
    virtual int S_Retcpp_TO_StorRetJava(JNIEnv* env, jobject obj, S_Ret& ret);
    virtual int STADDRcpp_TO_StorAddrJava(JNIEnv* env, jobject obj, _STORAGE_ADDRESS_ID& addr);
    virtual int VERSIONcpp_TO_VersionJava(JNIEnv* env, jobject obj, _STORAGE_VERSION& version);
    virtual int DLL_TYPEcpp_TO_DllTypeJava(JNIEnv* env, jobject obj, _DLL_TYPE& rec);
    virtual int ADAPTER__STATUScpp_TO_AdapterStatusJava(JNIEnv* env, jobject obj, _STORAGE_ADAPTER_STATUS& rec);
    // A class may lack any of the fields (older consoles): those are skipped.
    virtual int PADAPTER_FEATUREScpp_TO_AdapterFeaturesJava(JNIEnv* env, jobject obj, _ADAPTER_FEATURES*& features);
    virtual int SUBSYSTEM_STATUScpp_TO_SubSystemStatusJava(JNIEnv* env, jobject obj, _SUBSYSTEM_STATUS& rec);
    virtual int MAX_ADDRcpp_TO_MaxAddrJava(JNIEnv* env, jobject obj, _MAX_ADDR_VALUES& rec);
    virtual int ADAP_TYPEcpp_TO_AdapterTypeJava(JNIEnv* env, jobject obj, _ADAPTER_TYPE& rec);
    virtual int ADAPTER_INFOcpp_TO_AdapterInfoJava(JNIEnv* env, jobject obj, _ADAPTER_INFO& rec);
    virtual int CHANNEL_INFOcpp_TO_ChannelInfoJava(JNIEnv* env, jobject obj, _CHANNEL_INFO& rec);
    virtual int DEVICE_SIZEcpp_TO_DeviceSizeJava(JNIEnv* env, jobject obj, _DEVICE_SIZE& size);
    virtual int ARRAY_SIZEcpp_TO_ArraySizeJava(JNIEnv* env, jobject obj, _ARRAY_SIZE& size);
    virtual int RAID_ADAPTER_INFOcpp_TO_RaidAdapterInfoJava(JNIEnv* env, jobject obj, _RAID_ADAPTER_INFO& rec);
    virtual int RAID_ARRAY_INFOcpp_TO_RaidArrayInfoJava(JNIEnv* env, jobject obj, _RAID_ARRAY_INFO& rec);
    virtual int VIRT_DEVICE_INFOcpp_TO_VirtualDeviceInfoJava(JNIEnv* env, jobject obj, _VIRTUAL_DEVICE_INFO& rec);
    virtual int LOOP_INFOcpp_TO_LoopInfoJava(JNIEnv* env, jobject obj, _LOOP_INFO& rec);
    virtual int SUBSYSTEM_INFOcpp_TO_SubSystemInfoJava(JNIEnv* env, jobject obj, _SUBSYSTEM_INFO& rec);
    virtual int DEVICE_INFOcpp_TO_DeviceInfoJava(JNIEnv* env, jobject obj, _DEVICE_INFO& rec);
    virtual int DTADDRcpp_TO_DataAddrJava(JNIEnv* env, jobject obj, _DATA_ADDRESS& rec);
    // min(array length, size) bytes into "byteArray", that count into
    // "iBytesXferLen". 0; -2 for a null ByteBlk or null data with a size.
    virtual int PVOIDcpp_TO_ByteBlkJava(JNIEnv* env, jobject obj, void* data, uint32_t size);
    virtual int PVOIDcpp_TO_CmndBlkJava(JNIEnv* env, jobject obj, void* data, uint32_t size);
    virtual int ADAPTER_STATScpp_TO_AdapterStatisticsJava(JNIEnv* env, jobject obj, _ADAPTER_STATISTICS& rec);
    virtual int PHYS_DEV_STATScpp_TO_PhysicalDeviceStatisticsJava(JNIEnv* env, jobject obj,
                                                                  _PHYSICAL_DEVICE_STATISTICS& rec);
    virtual int VIRT_DEV_STATScpp_TO_VirtualDeviceStatisticsJava(JNIEnv* env, jobject obj,
                                                                 _VIRTUAL_DEVICE_STATISTICS& rec);
    virtual int VIRT_DEV_GRPcpp_TO_VirtualDeviceGroupJava(JNIEnv* env, jobject obj, _VIRTUAL_DEVICE_GROUP& rec);
    virtual int SCSI_INQ_DATAcpp_TO_ScsiInquiryDataJava(JNIEnv* env, jobject obj, ST_SCSI_INQUIRY_DATA& rec);
    virtual int SAFTE_CONFIGcpp_TO_SafteConfigJava(JNIEnv* env, jobject obj, _SAFTE_CONFIGURATION& rec);
    // The first 32 bytes of the record.
    virtual int SAFTE_STATUScpp_TO_SafteStatusJava(JNIEnv* env, jobject obj, _SAFTE_STATUS& rec);
    virtual int ELEMENT_DESC_PAGEcpp_TO_ElementDescPageJava(JNIEnv* env, jobject obj, _ELEMENT_DESCRIPTOR_PAGE& rec);
    virtual int VPD_INQ_DATAcpp_TO_VPD_INQ_DATAJava(JNIEnv* env, jobject obj, _VPD_INQUIRY_DATA& rec);
    // ensureCapacity(count), clearAllAddresses(), then one createNewAddress
    // per record. 0; -2 for a null list or null records with a count; -3
    // when one of the three methods is missing (what ran stays done).
    virtual int PSTADDRcpp_TO_AddrListJava(JNIEnv* env, jobject obj, _STORAGE_ADDRESS_ID* first, uint32_t count);
    virtual int INT_REFcpp_TO_IValJava(JNIEnv* env, jobject obj, int value);
    virtual int USHORT_REFcpp_TO_SValJava(JNIEnv* env, jobject obj, uint16_t value);
    virtual int ULONG_REFcpp_TO_LValJava(JNIEnv* env, jobject obj, uint32_t value);
    virtual int BOOL_REFcpp_TO_BlValJava(JNIEnv* env, jobject obj, int value);
    virtual int IOCTL_FO_INFOcpp_TO_FailoverInfoJava(JNIEnv* env, jobject obj, _IOCTL_FO_INFO& rec);
    virtual int ENQUIRY_BBCACHEcpp_TO_BBCacheInfoJava(JNIEnv* env, jobject obj, _ENQUIRY_BBCACHE& rec);
    virtual int IOCTL_INITIATOR_IDScpp_TO_InitiatorIDsJava(JNIEnv* env, jobject obj, _IOCTL_INITIATOR_IDS& rec);
    // Element i of "blaHotSlots" = bit i of the mask; false from 32 on.
    virtual int ULONG_SLOTMASKcpp_TO_HotPCISlotsJava(JNIEnv* env, jobject obj, uint32_t& mask);
    virtual int Vpdcpp_TO_VpdJava(JNIEnv* env, jobject obj, _ParsedVpd vpd);
    virtual int ExtendedBatteryDatacpp_TO_ExtendedBatteryDataJava(JNIEnv* env, jobject obj,
                                                                  _ENQUIRY_EXTENDED_BATTERY_STATUS battery);

    // A Java long to an unsigned 32-bit value (its low 32 bits), and back
    // (zero-extended).
    virtual uint32_t jlul(jlong value);
    virtual jlong uljl(uint32_t value);

private:
    int okFlag;
    uint32_t failId;
};

#endif
