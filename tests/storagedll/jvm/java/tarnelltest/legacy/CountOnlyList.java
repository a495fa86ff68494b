package tarnelltest.legacy;

/** A list that tells its number of addresses but cannot hand them out. */
public class CountOnlyList {
    public int count;

    public int getAddressCount() {
        return count;
    }
}
