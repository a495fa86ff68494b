package com.zeq.sysmgt.raidmgr.dataproc.jni;

import java.util.ArrayList;

/** A list of sector ranges. */
public class TSectorCollection {
    private final ArrayList<TSectorRange> ranges = new ArrayList<>();

    public TSectorCollection() {
    }

    public void addSectorRange(TSectorRange range) {
        ranges.add(range);
    }

    public int getSectorRangeCount() {
        return ranges.size();
    }

    public TSectorRange getSectorRange(int index) {
        return ranges.get(index);
    }
}
