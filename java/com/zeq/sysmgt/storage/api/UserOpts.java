package com.zeq.sysmgt.storage.api;

/** The options of a controller. */
public class UserOpts {
    public short sCfgDriveUpdateCount;
    public byte bStartupDelay;
    public byte bConcurDriveStartCount;
    public byte bCopyBackEnabled;
    public byte bDataScrubDisable;
    public byte bHotSwapRebuild;
    public byte bStage;
    public byte bCluster;
    public byte bBiosCompat;
    public byte bUnused;
    public byte bAutoRearrange;
}
