package com.zeq.sysmgt.storage.api;

/** A block of bytes: the array, how many bytes of it are transferred, and the block length (the native reserves four times it). */
public class ByteBlk {
    public byte[] byteArray;
    public int iBytesXferLen;
    public int iBlockLength;

    public ByteBlk() {
        byteArray = new byte[0];
    }

    /** A block of blockLength, with an array of 4 x blockLength bytes. */
    public ByteBlk(int blockLength) {
        byteArray = new byte[4 * blockLength];
        iBlockLength = blockLength;
    }
}
