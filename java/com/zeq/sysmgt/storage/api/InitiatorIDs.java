package com.zeq.sysmgt.storage.api;

/** The initiator ids of a controller's channels. */
public class InitiatorIDs {
    public byte bNumChannels;
    public byte bFriendlySlotNumber;
    public byte bAdapterType;
    public byte bStripeSize;
    public byte[] baInitiators = new byte[4];
}
