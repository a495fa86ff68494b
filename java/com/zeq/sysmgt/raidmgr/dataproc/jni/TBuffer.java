package com.zeq.sysmgt.raidmgr.dataproc.jni;

/** A block of bytes with its size; the bytes grow as they are set. */
public class TBuffer {
    public int ulbufSize;
    private byte[] bytes = new byte[0];

    public TBuffer() {
    }

    public void setByte(int index, byte value) {
        if (index < 0)
            return;
        if (index >= bytes.length) {
            byte[] grown = new byte[Math.max(index + 1, ulbufSize)];
            System.arraycopy(bytes, 0, grown, 0, bytes.length);
            bytes = grown;
        }
        bytes[index] = value;
    }

    public byte[] getBytes() {
        return bytes.clone();
    }
}
