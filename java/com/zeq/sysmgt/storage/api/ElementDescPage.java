package com.zeq.sysmgt.storage.api;

/** An SES element descriptor page. */
public class ElementDescPage {
    public byte bPageCode;
    public byte bResv1;
    public short sPageLength;
    public int iGenerationCode;
    public char[] caVpdData = new char[1016];
}
