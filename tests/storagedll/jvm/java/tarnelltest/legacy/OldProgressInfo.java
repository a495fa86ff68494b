package tarnelltest.legacy;

/** Task progress as an older console declares it: a few of the fields, no "bSLDVirtDrive". */
public class OldProgressInfo {
    public byte bPercentComplete;
    public short bScsiIDs;
}
