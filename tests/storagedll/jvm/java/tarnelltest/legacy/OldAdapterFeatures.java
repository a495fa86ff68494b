package tarnelltest.legacy;

/**
 * The feature levels as an older console declares them: a few of the
 * fields, the vendor and device ids among those it lacks.
 */
public class OldAdapterFeatures {
    public int iU160RelLevel;
    public int iAdapterFRUTL;
    public int iRevisionID;
    public int iCopyBackRL;
    public long[] lResv10 = new long[2];
}
