package com.zeq.sysmgt.storage.api;

/**
 * The RAID configuration as an older console declares it: without the cache
 * serial numbers, with logical drives that lack the temporary write-through
 * flag, and with the first four device slots only.
 */
public class RaidConfig {
    public byte bNoOfVirtDrives;
    public UserOpts oUserOpts = new UserOpts();
    public HardwareDesc oHardwareDesc = new HardwareDesc();
    public boolean blBatteryCacheInstalled;
    public byte bBatteryCacheErrorCode;
    public VirtDrvParms oVirtDrv0 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv1 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv2 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv3 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv4 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv5 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv6 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv7 = new VirtDrvParms();
    public DevState oDevState0 = new DevState();
    public DevState oDevState1 = new DevState();
    public DevState oDevState2 = new DevState();
    public DevState oDevState3 = new DevState();
}
