package com.zeq.sysmgt.storage.api;

/** The information of an array; the bridge passes none of it on. */
public class RaidArrayInfo {
}
