package tarnelltest.legacy;

import com.zeq.sysmgt.storage.api.AddrList;

/** An address list that records the calls it receives. */
public class RecordingAddrList extends AddrList {
    public final StringBuilder log = new StringBuilder();

    @Override
    public void ensureCapacity(int count) {
        log.append("ensureCapacity(").append(count).append(");");
        super.ensureCapacity(count);
    }

    @Override
    public void clearAllAddresses() {
        log.append("clearAllAddresses();");
        super.clearAllAddresses();
    }

    @Override
    public void createNewAddress(int systemID, int enclosureID, int subSysID, int loopID, int adapterID,
            int virtDevID, int arrayID, int channelID, int physDevID, int lunID, int resv1, int resv2, int resv3,
            int resv4, long map, char[] dllName) {
        log.append("createNewAddress(").append(adapterID).append(',').append(map).append(',')
                .append(new String(dllName).replace('\0', '.')).append(");");
        super.createNewAddress(systemID, enclosureID, subSysID, loopID, adapterID, virtDevID, arrayID, channelID,
                physDevID, lunID, resv1, resv2, resv3, resv4, map, dllName);
    }
}
