package com.zeq.sysmgt.storage.api;

import java.util.ArrayList;

/** A list of addresses of the controller C API. */
public class AddrList {
    private final ArrayList<StorAddr> addresses = new ArrayList<>();

    public int getAddressCount() {
        return addresses.size();
    }

    /** The address at index i; null outside the list. */
    public StorAddr getAddress(int i) {
        return i >= 0 && i < addresses.size() ? addresses.get(i) : null;
    }

    public void addAddress(StorAddr addr) {
        addresses.add(addr);
    }

    public void ensureCapacity(int count) {
        addresses.ensureCapacity(count);
    }

    public void clearAllAddresses() {
        addresses.clear();
    }

    /** Appends a new address with these ids, map and name. */
    public void createNewAddress(int systemID, int enclosureID, int subSysID, int loopID, int adapterID,
            int virtDevID, int arrayID, int channelID, int physDevID, int lunID, int resv1, int resv2, int resv3,
            int resv4, long map, char[] dllName) {
        StorAddr a = new StorAddr();
        a.iSystemID = systemID;
        a.iEnclosureID = enclosureID;
        a.iSubSysID = subSysID;
        a.iLoopID = loopID;
        a.iAdapterID = adapterID;
        a.iVirtDevID = virtDevID;
        a.iArrayID = arrayID;
        a.iChannelID = channelID;
        a.iPhysDevID = physDevID;
        a.iLunID = lunID;
        a.iResv1 = resv1;
        a.iResv2 = resv2;
        a.iResv3 = resv3;
        a.iResv4 = resv4;
        a.lMap = map;
        a.cDllName = dllName;
        addresses.add(a);
    }
}
