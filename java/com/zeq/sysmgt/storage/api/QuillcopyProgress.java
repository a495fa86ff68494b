package com.zeq.sysmgt.storage.api;

/** The source and target of four Quillcopy entries. */
public class QuillcopyProgress {
    public byte bSource0;
    public byte bTarget0;
    public byte bSource1;
    public byte bTarget1;
    public byte bSource2;
    public byte bTarget2;
    public byte bSource3;
    public byte bTarget3;
}
