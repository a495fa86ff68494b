package com.zeq.sysmgt.raidmgr.dataproc.jni;

import java.util.ArrayList;

/** A list of addresses. */
public class TAddrCollection {
    private final ArrayList<TAddr> addrs = new ArrayList<>();

    public TAddrCollection() {
    }

    public long getAddrCount() {
        return addrs.size();
    }

    public TAddr getAddr(int index) {
        return addrs.get(index);
    }

    public void addAddr(TAddr addr) {
        addrs.add(addr);
    }
}
