package com.zeq.sysmgt.storage.api;

/** The eight logical drives of a logical-drive table. */
public class VirtDrv {
    public VirtDrvParms oVirtDrv0 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv1 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv2 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv3 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv4 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv5 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv6 = new VirtDrvParms();
    public VirtDrvParms oVirtDrv7 = new VirtDrvParms();
}
