package com.zeq.sysmgt.storage.api;

/**
 * The task running on a controller: its opcode, logical drive, check option
 * (the migration kind of a migration), status, percentage complete, qualifier,
 * the channel and SCSI id of its physical drive (0-255), and whether the drive
 * is a sub-logical drive.
 */
public class ProgressInfo {
    public byte bOpcode;
    public byte bVirtDrive;
    public byte bCheckOption;
    public byte bStatus;
    public byte bPercentComplete;
    public byte bSubOpcodeQualifier;
    public short bChannels;
    public short bScsiIDs;
    public byte bSLDVirtDrive;
}
