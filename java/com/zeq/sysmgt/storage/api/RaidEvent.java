package com.zeq.sysmgt.storage.api;

/** A controller event. */
public class RaidEvent {
    public int eventType;
    public int eventCode;
    public String eventString;
    public String fru;
    public long eventDateTime;

    public long getEventDateTime() {
        return eventDateTime;
    }
}
