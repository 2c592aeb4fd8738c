#!/usr/bin/env python3
"""Writes the e2e fixture (e2e_state.json), the request list (requests.txt)
and the expected responses (golden/<name>.xml) of the arrayrpc operator
tests.

The expected responses are derived here from the fixture's values and the
response rules of the module (root with type="function", RetVal as plain
text, scalars and struct members as CDATA, members sorted byte-wise,
struct types "struct  <name>", topology links and version sub-structs
first), independently of the module's code. Values the simulated
controller models itself (SMART attributes, enclosure elements, reassigned
sectors, VD sizes) are taken from the model as sim/README.md documents it.
Run it after changing the fixture; the test never runs it.
"""
import json, os

HERE = os.path.dirname(os.path.abspath(__file__))

def cdata(k, v):
    return "<%s><![CDATA[%s]]></%s>" % (k, v, k)

def members(m):
    return "".join(cdata(k, m[k]) for k in sorted(m, key=lambda s: s.encode()))

def struct(name, stype, body):
    if not body:
        return '<%s type="struct  %s" />' % (name, stype)
    return '<%s type="struct  %s">%s</%s>' % (name, stype, body, name)

def plain(name, m):
    return struct(name, name, members(m))

def scalar(name, value, t):
    return '<%s type="%s"><![CDATA[%s]]></%s>' % (name, t, value, name)

def response(root, body):
    return '<%s type="function">%s</%s>\n' % (root, body, root)

def retval(v):
    return '<RetVal type="U8">%d</RetVal>' % v

def nums(a):
    return " ".join(str(x) for x in a)

def text(s, width):
    return s[:width]

# ---- fixture ---------------------------------------------------------------

def endpoint(dev, devtype, enc):
    return {"DevID": dev, "DevType": devtype, "PhyCnt": 1, "PhyID": [dev, 0, 0, 0, 0, 0, 0, 0],
            "SAS_Address": [80, 0, 0, 0, 0, 0, 1, dev], "EnclosureID": enc}

def link(parent, self_):
    return {"Parent": parent, "Self": self_}

adapter_info = {
    "DriverVersion": {"VerMajor": 5, "VerMinor": 1, "VerOEM": 2, "VerBuild": 300},
    "BIOSVersion": {"MajorVersion": 2, "MinorVersion": 3, "RevisionNumber": 4, "BuildNumber": 5},
    "FirmwareVersion": {"MajorVersion": 1, "MinorVersion": 9, "RevisionNumber": 0, "BuildNumber": 77},
    "BootLoaderVersion": {"MajorVersion": 1, "MinorVersion": 0, "RevisionNumber": 1, "BuildNumber": 2},
    "SystemIOBusNumber": 3, "SlotNumber": 2, "InterruptLevel": 11, "InterruptVector": 0,
    "VenID": 4660, "SubVenID": 4661, "DevID": 37376, "SubDevID": 1, "PortCount": 2,
    "PortSupportType": 3, "Features": 17, "AlarmSupport": 1, "RevisionID": 2, "MaxPDPerVD": 16,
    "StripeSizeSupported": 0, "AdvancedFeatures": 2, "MaxPDPerDG": 16, "MaxVDPerDG": 8,
    "MaxParityDisks": 2, "MaxDiskGroup": 4, "MaxTotalBlocks": 255, "MaxBlockPerPD": 8, "MaxHD": 32,
    "MaxExpander": 4, "MaxPM": 4, "MaxLogicalDrive": 32, "LogicalDriverMode": 512,
    "WWN": [80, 0, 0, 0, 0, 0, 0, 1], "MaxHD_Ext": 0, "MaxBufferSize": 1, "MaxTotalBlocks_V2": 1024,
    "MaxAESPort": 0, "MaxTandemHdd": 0, "MaxSSDPerTandem": 0, "MaxAESEntry": 0, "AdvancedFeatures2": 0,
    "SerialNo": "SN-0001", "MaxSpeed": 6, "CurrentSpeed": 5, "MaxLinkWidth": 8, "CurrentLinkWidth": 4,
    "img_health": 1, "autoload_img_health": 1, "boot_loader_img_health": 1, "firmware_img_health": 1,
    "boot_rom_img_health": 0, "hba_info_img_health": 1,
    "PortSasAddress": [[80, 1, 2, 3, 4, 5, 6, p] for p in range(16)],
}
adapter_config = {"AlarmOn": 1, "AutoRebuildOn": 1, "BGARate": 30, "PollSMARTStatus": 1,
                  "MediaPatrolRate": 10, "CopyBack": 0, "SyncRate": 31, "InitRate": 32, "RebuildRate": 33,
                  "MigrationRate": 34, "CopybackRate": 35, "InterruptCoalescing": 0, "ModuleConsolidate": 1,
                  "v_atapi_disable": 0, "rawimg_update_disabled": 0, "port_phy_ctrl": [1, 2, 3, 4, 0, 0, 0, 0]}
bbu = {"status": 9, "prev_status": 5, "voltage": 8200, "supportMaxCapacity": 3000, "supportMinCapacity": 500,
       "maxCapacity": 2990, "curCapacity": 2950, "time_to_empty": 120, "time_to_full": 0, "recharge_cycle": 12,
       "featureSupport": 7, "temperature": -3, "volt_lowerbound": 7000, "volt_upperbound": 9000,
       "temp_lowerbound": 0, "temp_upperbound": 60, "percentage": 98, "percent_to_charge": 90, "flags": 2}

def pd(i):
    hd = {"Link": link(endpoint(0, 255, 65535), endpoint(i, 1, 65535)),
          "AdapterID": 0, "InitStatus": 1, "HDType": 1, "PIOMode": 4, "MDMAMode": 2, "UDMAMode": 6,
          "ConnectionType": 5, "DeviceType": 0, "FeatureSupport": 3, "Model": "KXDISK%d" % i,
          "SerialNo": "S%04d" % i, "FWVersion": "FW%d" % i, "Size": 976762584 + i, "WWN": [80, 0, 0, 0, 0, 0, 2, i],
          "CurrentPIOMode": 4, "CurrentMDMAMode": 2, "CurrentUDMAMode": 5, "ElementIdx": i, "BlockSize": 512,
          "ActivityLEDStatus": 0, "LocateLEDStatus": 0, "ErrorLEDStatus": 0, "SesDeviceType": 0, "HD_SSD_Type": 0}
    if i == 4:
        # left for the module to derive: SATA-like connection, a device of its own kind
        hd.update({"ConnectionType": 0, "DeviceType": 0, "HDType": 0x11})
    return {"id": i, "smartExceeded": i == 2, "HD_Info": hd,
            "HD_Config": {"WriteCacheOn": 1, "SMARTOn": 1, "Online": 1, "DriveSpeed": 3, "crypto": 0,
                          "AESPercentage": 10 * i, "HDID": i},
            "HD_RAID_Status": {"HDID": i, "DGID": 65535, "Status": 1},
            "HD_BGA_Status": {"HDID": i, "Percentage": 5 * i, "Bga": 1 if i == 1 else 0, "Status": 0,
                              "BgaStatus": 1 if i == 1 else 0},
            "HD_FreeSpaceInfo": {"ID": i, "AdapterID": 0, "isFixed": 0, "Size": 1000 * i}}

def vd(i):
    blocks = [i * 2, i * 2 + 1] + [65535] * 126
    return {"id": i,
            "LD_Info": {"ID": i, "Status": 0, "BGAStatus": 0, "StripeBlockSize": 64, "RaidMode": 1, "HDCount": 2,
                        "CacheMode": 1, "SectorCoefficient": 1, "AdapterID": 0, "BlkCount": 2, "DGID": 65535,
                        "Size": 1048576 * (i + 1), "Name": "vd%d" % i if i != 3 else "ABCDEFGHIJKLMNOP",
                        "BlockIDs": blocks, "SubLDCount": 0, "NumParityDisk": 0, "BlockSize": 512},
            "LD_Config": {"CacheMode": 1, "TandemWaterMark": 0, "AutoRebuildOn": 1, "Status": 0, "LDID": i,
                          "Name": "vd%d" % i if i != 3 else "ABCDEFGHIJKLMNOP"}}

dg_info = {"DGID": 0, "Name": "array0", "RaidMode": 5, "SubVDCount": 1, "NumParityDisk": 1, "AdapterID": 0,
           "StripeBlockSize": 64, "BlockSize": 512, "TotalManagedSpace": 3000, "RemainingManagedSpace": 1000,
           "SmallestAvailablePDSize": 500, "Status": 0, "PDBgaRunning": 0, "PDCount": 3,
           "PDIDs": [0, 1, 2] + [65535] * 125, "VDSlotCount": 1, "VDSlotSize": [2000] + [0] * 31,
           "VDIDs": [0] + [65535] * 31, "SparePDCount": 0, "SparePDIDs": [65535] * 8, "BgaType": 0, "BgaState": 0}

fixture = {"adapters": [{
    "Adapter_Info": adapter_info, "Adapter_Config_V2": adapter_config, "BBU_Info": bbu,
    "pds": [pd(i) for i in range(5)],
    "blocks": [{"id": b, "pd": b % 5, "Block_Info": {"ID": b, "HDID": b % 5, "Flags": 2, "LDID": b // 2, "Status": 0,
                                                      "BlockSize": 512, "ReservedSpaceForMigration": 64,
                                                      "StartLBA": 2048 * b, "Size": 1048576}} for b in range(2)],
    "vds": [vd(i) for i in range(5)],
    "arrays": [{"id": 0, "DG_Info": dg_info, "DG_Config": {"DGID": 0, "WriteCacheOn": 1, "Name": "array0"}}],
    "pms": [{"id": 0, "PM_Info": {"Link": link(endpoint(0, 255, 65535), endpoint(0, 2, 65535)), "AdapterID": 0,
                                  "ProductRevision": 2, "PMSpecRevision": 1, "NumberOfPorts": 5, "VendorId": 6501,
                                  "DeviceId": 14082}}],
    "expanders": [{"id": 0, "Exp_Info": {"Link": link(endpoint(0, 255, 65535), endpoint(0, 3, 0)), "AdapterID": 0,
                                         "Configuring": 0, "RouteTableConfigurable": 1, "PhyCount": 24,
                                         "ExpChangeCount": 3, "MaxRouteIndexes": 128, "VendorID": "KORVEXCO",
                                         "ProductID": "EXPANDER-24PORTS", "ProductRev": "0102",
                                         "ComponentVendorID": "KXCHIPS1", "ComponentID": 530,
                                         "ComponentRevisionID": 4}}],
    "enclosures": [{"id": 0, "Enclosure_Info": {"Link": link(endpoint(0, 3, 0), endpoint(0, 12, 0)), "AdapterID": 0,
                                                "Status": 1, "LogicalID": "50010000", "VendorID": "KORVEXCO",
                                                "ProductID": "JBOD-12BAY-SAS3X", "RevisionLevel": "0200",
                                                "ExpanderCount": 1, "ExpanderIDs": [0] + [65535] * 7, "path": 1,
                                                "target": 2, "lun": 0, "slice": 0}}],
}]}

# ---- expected responses ----------------------------------------------------

def ep_members(e):
    return {"DevID": e["DevID"], "DevType": e["DevType"], "PhyCnt": e["PhyCnt"], "PhyID": nums(e["PhyID"]),
            "SAS_Address": nums(e["SAS_Address"]), "EnclosureID": e["EnclosureID"]}

def linked(name, l, m):
    lk = struct("Link", "Link_Entity", struct("Parent", "Link_Endpoint", members(ep_members(l["Parent"]))) +
                struct("Self", "Link_Endpoint", members(ep_members(l["Self"]))))
    return struct(name, name, lk + members(m))

def header(params, returned, nxt):
    m = dict(params)
    if returned is not None:
        m["numReturned"] = returned
        m["nextStartingIndex"] = nxt
    return plain("RequestHeader", m)

def list_request(root, params):
    return "<%s>%s</%s>" % (root, "".join("<%s>%s</%s>" % (k, v, k) for k, v in params.items()), root)

def page(params, total):
    s, n = int(params["startingIndexOrId"]), int(params["numRequested"])
    got = list(range(s, min(total, s + n)))
    nxt = s + n if s + n < total else 65535
    return got, nxt

A = fixture["adapters"][0]
requests = []

def add(name, xml, expected):
    requests.append((name, xml))
    with open(os.path.join(HERE, "golden", name + ".xml"), "w") as f:
        f.write(expected)

def listing(name, root, element, total, params, rec_members, linkof=None):
    got, nxt = page(params, total)
    body = retval(0) + header(params, len(got), nxt)
    for i in got:
        m = rec_members(i)
        body += linked(element, linkof(i), m) if linkof else plain(element, m)
    add(name, list_request(root, params), response(root, body))

P = lambda s, n, **extra: dict({"AdapterID": "0", "requestType": "1", "startingIndexOrId": str(s),
                               "numRequested": str(n)}, **extra)

def ld_members(i):
    r = A["vds"][i]["LD_Info"]
    keys = ["AdapterID", "BGAStatus", "BlkCount", "BlockSize", "CacheMode", "DGID", "HDCount", "ID",
            "NumParityDisk", "RaidMode", "SectorCoefficient", "Size", "Status", "StripeBlockSize", "SubLDCount"]
    m = {k: r[k] for k in keys}
    m["BlockIDs"] = nums(r["BlockIDs"])
    m["Name"] = text(r["Name"], 16)
    return m

listing("vd_info_all_pages", "KX_LD_GetInfo", "LDInfo", 5, P(0, 5), ld_members)
listing("vd_info_middle_page", "KX_LD_GetInfo", "LDInfo", 5, P(1, 2), ld_members)
# Nothing requested: the controller refuses a request without room (7),
# and the VD list then leaves the paging entries out; other lists report
# none returned.
add("vd_info_none_requested", list_request("KX_LD_GetInfo", P(0, 0)),
    response("KX_LD_GetInfo", retval(7) + header(P(0, 0), None, None)))
add("pd_raid_none_requested", list_request("KX_PD_GetHDRaidStatus", P(0, 0)),
    response("KX_PD_GetHDRaidStatus", retval(7) + header(P(0, 0), 0, 65535)))

def ldcfg(i):
    r = A["vds"][i]["LD_Config"]
    return {"AutoRebuildOn": r["AutoRebuildOn"], "CacheMode": r["CacheMode"], "TandemWaterMark": r["TandemWaterMark"],
            "LDID": r["LDID"], "Name": text(r["Name"], 16), "Status": r["Status"]}
listing("vd_config", "KX_LD_GetConfig", "LDConfig", 5, P(2, 2), ldcfg)

def dginfo(i):
    r = dg_info
    m = {k: r[k] for k in ["AdapterID", "BgaState", "BgaType", "BlockSize", "DGID", "NumParityDisk", "PDBgaRunning",
                           "PDCount", "RaidMode", "RemainingManagedSpace", "SmallestAvailablePDSize", "SparePDCount",
                           "Status", "StripeBlockSize", "SubVDCount", "TotalManagedSpace", "VDSlotCount"]}
    m.update({"Name": r["Name"], "PDIDs": nums(r["PDIDs"]), "SparePDIDs": nums(r["SparePDIDs"]),
              "VDIDs": nums(r["VDIDs"]), "VDSlotSize": nums(r["VDSlotSize"])})
    return m
listing("dg_info", "KX_DG_GetInfo", "DG_Info", 1, P(0, 4), dginfo)
listing("dg_config", "KX_DG_GetConfig", "DG_Config", 1, P(0, 1),
        lambda i: {"DGID": 0, "Name": "array0", "WriteCacheOn": 1})

def hd(i):
    r = A["pds"][i]["HD_Info"]
    keys = ["ActivityLEDStatus", "AdapterID", "BlockSize", "ConnectionType", "CurrentMDMAMode", "CurrentPIOMode",
            "CurrentUDMAMode", "DeviceType", "ElementIdx", "ErrorLEDStatus", "FeatureSupport", "HD_SSD_Type", "HDType",
            "InitStatus", "LocateLEDStatus", "MDMAMode", "PIOMode", "SesDeviceType", "Size", "UDMAMode"]
    m = {k: r[k] for k in keys}
    m.update({"FWVersion": r["FWVersion"], "Model": r["Model"], "SerialNo": r["SerialNo"], "WWN": nums(r["WWN"])})
    if r["ConnectionType"] == 0:  # HDType bit 0: connection 5
        m["ConnectionType"] = 5
    if r["DeviceType"] == 0 and r["HDType"] & 0x10:  # HDType bit 4: device type 1
        m["DeviceType"] = 1
    m["CanLogicalUsed"] = "0" if m["DeviceType"] else "1"
    return m
hdlink = lambda i: A["pds"][i]["HD_Info"]["Link"]
listing("pd_info_all_pages", "KX_PD_GetHDInfo", "HD_Info", 5, P(0, 5), hd, hdlink)
listing("pd_info_extra_parameter", "KX_PD_GetHDInfo", "HD_Info", 5, P(3, 1, Comment="from the GUI"), hd, hdlink)

def pdcfg(i):
    r = A["pds"][i]["HD_Config"]
    return {"crypto": r["crypto"], "DriveSpeed": r["DriveSpeed"], "HDID": r["HDID"], "Online": r["Online"],
            "Percentage": r["AESPercentage"], "SMARTOn": r["SMARTOn"], "WriteCacheOn": r["WriteCacheOn"]}
listing("pd_config", "KX_PD_GetConfig", "Config", 5, P(0, 3), pdcfg)
listing("pd_raid_status", "KX_PD_GetHDRaidStatus", "Status", 5, P(0, 5),
        lambda i: {"DGID": 65535, "HDID": i, "Status": 1})
listing("pd_bga_status", "KX_PD_GetBGAStatus", "HD_BGA_Status", 5, P(0, 2),
        lambda i: {k: A["pds"][i]["HD_BGA_Status"][k] for k in ["Bga", "BgaStatus", "HDID", "Percentage", "Status"]})
listing("pd_free_space", "KX_PD_GetFreeSpaceInfo", "HD_Info", 5, P(1, 2),
        lambda i: {"AdapterID": 0, "ID": i, "isFixed": 0, "Size": 1000 * i})
pm = A["pms"][0]["PM_Info"]
listing("pm_info", "KX_PD_GetPMInfo", "PM_Info", 1, P(0, 1),
        lambda i: {k: pm[k] for k in ["AdapterID", "DeviceId", "NumberOfPorts", "PMSpecRevision", "ProductRevision", "VendorId"]},
        lambda i: pm["Link"])
ex = A["expanders"][0]["Exp_Info"]
listing("expander_info", "KX_PD_GetExpanderInfo", "ExpanderInfo", 1, P(0, 1),
        lambda i: dict({k: ex[k] for k in ["AdapterID", "ComponentID", "ComponentRevisionID", "Configuring",
                                           "ExpChangeCount", "MaxRouteIndexes", "PhyCount", "RouteTableConfigurable"]},
                       ComponentVendorID=text(ex["ComponentVendorID"], 8), ProductID=text(ex["ProductID"], 16),
                       ProductRev=text(ex["ProductRev"], 4), VendorID=text(ex["VendorID"], 8)),
        lambda i: ex["Link"])
en = A["enclosures"][0]["Enclosure_Info"]
listing("enclosure_info", "KX_ENC_GetEnclosureInfo", "Enclosure_Info", 1, P(0, 1),
        lambda i: dict({k: en[k] for k in ["AdapterID", "ExpanderCount", "lun", "path", "slice", "Status", "target"]},
                       ExpanderIDs=nums(en["ExpanderIDs"]), LogicalID=text(en["LogicalID"], 8),
                       ProductID=text(en["ProductID"], 16), RevisionLevel=text(en["RevisionLevel"], 4),
                       VendorID=text(en["VendorID"], 8)),
        lambda i: en["Link"])
listing("block_info", "KX_BLK_GetInfo", "blockInfo", 2, P(0, 2),
        lambda b: {k: A["blocks"][b]["Block_Info"][k] for k in ["BlockSize", "Flags", "HDID", "ID", "LDID",
                                                               "ReservedSpaceForMigration", "Size", "StartLBA", "Status"]})

# the adapter
ai = adapter_info
def ver(v, cim):
    if cim:
        return {"VerBuild": v["BuildNumber"], "VerMajor": v["MajorVersion"], "VerMinor": v["MinorVersion"],
                "VerOEM": v["RevisionNumber"]}
    return {"VerBuild": v["VerBuild"], "VerMajor": v["VerMajor"], "VerMinor": v["VerMinor"], "VerOEM": v["VerOEM"]}
m = {k: ai[k] for k in ["SystemIOBusNumber", "SlotNumber", "InterruptLevel", "InterruptVector", "AdvancedFeatures",
                        "VenID", "SubVenID", "DevID", "SubDevID", "LogicalDriverMode", "MaxAESPort", "MaxAESEntry",
                        "MaxBufferSize", "MaxTotalBlocks_V2", "PortCount", "PortSupportType", "Features",
                        "AlarmSupport", "RevisionID", "MaxPDPerVD", "MaxPDPerDG", "MaxVDPerDG", "MaxParityDisks",
                        "MaxDiskGroup", "MaxTotalBlocks", "MaxBlockPerPD", "MaxExpander", "MaxPM", "MaxLogicalDrive",
                        "MaxSpeed", "CurrentSpeed", "MaxLinkWidth", "CurrentLinkWidth", "img_health",
                        "autoload_img_health", "boot_loader_img_health", "firmware_img_health", "boot_rom_img_health",
                        "hba_info_img_health"]}
m.update({"StripeSizeSupported": 127,           # 0 with AdvancedFeatures bit 1
          "MaxTandemHdd": 1, "MaxSSDPerTandem": 1,  # 0 with LogicalDriverMode 0x200
          "MaxHD_Ext": ai["MaxHD"],              # 0: MaxHD stands in
          "DiskGroupSupport": "1", "SpareSupport": "1", "MediaPatrolSupport": "1", "BGASupport": "1",
          "WWN": nums(ai["WWN"]), "SerialNo": ai["SerialNo"]})
for p in range(ai["PortCount"]):
    m["PortSasAddress%d" % p] = nums(ai["PortSasAddress"][p])
adapter_struct = struct("AdapterInfo", "Adapter_Info",
                        struct("DriverVersion", "Version_Info", members(ver(ai["DriverVersion"], False))) +
                        struct("BIOSVersion", "Version_Info", members(ver(ai["BIOSVersion"], True))) +
                        struct("FirmwareVersion", "Version_Info", members(ver(ai["FirmwareVersion"], True))) +
                        struct("BootLoaderVersion", "Version_Info", members(ver(ai["BootLoaderVersion"], True))) +
                        members(m))
add("adapter_info", "<KX_Adapter_GetInfo><AdapterID>0</AdapterID></KX_Adapter_GetInfo>",
    response("KX_Adapter_GetInfo", retval(0) + scalar("Count", 1, "U8") + adapter_struct))
ac = adapter_config
cm = {k: ac[k] for k in ["AlarmOn", "AutoRebuildOn", "BGARate", "PollSMARTStatus", "MediaPatrolRate", "CopyBack",
                         "SyncRate", "InitRate", "RebuildRate", "MigrationRate", "CopybackRate", "InterruptCoalescing",
                         "ModuleConsolidate", "v_atapi_disable"]}
cm["port_phy_ctrl"] = nums(ac["port_phy_ctrl"])
add("adapter_config", "<KX_Adapter_GetConfig><AdapterID>0</AdapterID></KX_Adapter_GetConfig>",
    response("KX_Adapter_GetConfig", retval(0) + scalar("Count", 1, "U8") +
             struct("AdapterInfo", "Adapter_Config_V2", members(cm))))
add("adapter_count", "<KX_Adapter_GetCount><AdapterID>0</AdapterID></KX_Adapter_GetCount>",
    response("KX_Adapter_GetCount", retval(1)))
add("bbu_info", "<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>",
    response("KX_BBU_GetInfo", retval(0) + plain("BBU_Info", dict(bbu))))
add("api_version", "<KX_API_Version/>", response("KX_API_Version", scalar("RetVal", "5.0.0-sim", "string")))
add("api_info", "<KX_API_Info/>", response("KX_API_Info", scalar("API_Version", "5.0.0-sim", "string") +
                                            scalar("ScheduleSupport", 1, "U8")))
ver_struct = lambda name, b, M, mi, o: struct(name, "AR_VER_INFO", members({"Build": b, "Major": M, "Minor": mi, "OEM": o}))
add("module_info", "<AR_Module_GetInfo/>", response("AR_Module_GetInfo", retval(0) +
    ver_struct("product", 16, 1, 0, 0) + ver_struct("php_arrayrpc", 25, 1, 0, 0) +
    ver_struct("arrayrpc", 2, 1, 2, 0) + ver_struct("arraywatch", 1, 3, 1, 0)))
# Write cache proposed on (AdvancedFeatures bit 3 clear), read-ahead on (bit 15 clear).
add("vd_default_para", "<KX_LD_GetDefaultPara><AdapterID>0</AdapterID></KX_LD_GetDefaultPara>",
    response("KX_LD_GetDefaultPara", retval(0) + scalar("WriteCache", 1, "U8") + scalar("ReadCache", 4, "U8")))

# Modelled answers. RAID 1 over disks 3 and 4: neither carries a block, so
# a member is the whole smaller disk (976762587 KiB), and a mirror holds
# one member.
add("vd_max_size", "<KX_LD_GetMaxSize><AdapterID>0</AdapterID><RaidMode>1</RaidMode><HDCount>2</HDCount>"
    "<HDIDs>3 4</HDIDs><Name>mirror</Name></KX_LD_GetMaxSize>",
    response("KX_LD_GetMaxSize", retval(0) + plain("CreateLDParam", {
        "CachePolicy": 0, "HDCount": 2, "HDIDs": nums([3, 4] + [0] * 126), "InitializationOption": 0,
        "Name": "mirror", "NumParityDisk": 0, "RaidMode": 1, "RoundingScheme": 0, "Size": 976762587,
        "SpecifiedBlkSeq": 0, "StripeBlockSize": 64, "SubLDCount": 0})))
add("pd_rct_count", "<KX_PD_RCT_GetCount><AdapterID>0</AdapterID><HD_ID>2</HD_ID></KX_PD_RCT_GetCount>",
    response("KX_PD_RCT_GetCount", retval(0) + scalar("Count", 3, "U32")))
add("pd_rct", "<KX_PD_GetRCT><AdapterID>0</AdapterID><HD_ID>2</HD_ID></KX_PD_GetRCT>",
    response("KX_PD_GetRCT", retval(0) + "".join(
        plain("Record", {"flag": 0 if i == 2 else 1, "lba": 0x100000 * (i + 1) + 2, "sec": 8 << i}) for i in range(3))))
def smart(pdid):
    attrs = [(1, "Raw_Read_Error_Rate", 51, 0), (5, "Reallocated_Sector_Ct", 36, 3 if pdid == 2 else 0),
             (9, "Power_On_Hours", 0, 70000 + 1000 * pdid), (12, "Power_Cycle_Count", 0, 40 + pdid),
             (194, "Temperature_Celsius", 0, 30 + pdid % 10), (197, "Current_Pending_Sector", 0, 0)]
    out = ""
    for aid, name, thr, raw in attrs:
        cur = 20 if (aid == 5 and pdid == 2) else 100
        out += plain("SMARTInfo", {"ID": aid, "AttributeName": name, "StatusFlags1": 15, "StatusFlags2": 0,
                                   "CurrentValue": cur, "WorstValue": cur, "ThresholdValue": thr,
                                   "RawValue": "%012X" % raw})
    return out
add("pd_smart", "<KX_PD_GET_SMART_INFO><AdapterID>0</AdapterID><HD_ID>2</HD_ID></KX_PD_GET_SMART_INFO>",
    response("KX_PD_GET_SMART_INFO", retval(0) + smart(2)))
elements = [(2, 0, {"TempWarn": 0, "HotSwap": 0, "DCOverCurrent": 0, "DCOverVoltage": 0, "DCUnderVoltage": 0}),
            (2, 1, {"TempWarn": 1, "HotSwap": 0, "DCOverCurrent": 0, "DCOverVoltage": 0, "DCUnderVoltage": 0}),
            (3, 0, {"CurSpeedcode": 3, "CurSpeed": 2904}), (3, 1, {"CurSpeedcode": 0, "CurSpeed": 0}),
            (4, 0, {"OTFailure": 0, "OTWarning": 0, "UTFailure": 0, "UTWarning": 0, "Temperature": 38}),
            (4, 1, {"OTFailure": 0, "OTWarning": 1, "UTFailure": 0, "UTWarning": 0, "Temperature": 61}),
            (5, 0, {"Unlocked": 1}), (6, 0, {"Mute": 1, "Remind": 0}),
            (12, 0, {"Character1": ord("O"), "Character2": ord("K"), "Mode": 1}),
            (18, 0, {"WarnOver": 1, "WarnUnder": 0, "CritOver": 0, "CritUnder": 0, "Voltage": 500})]
add("enc_element_info", "<KX_ENC_GetElementInfo><AdapterID>0</AdapterID><ENC_ID>0</ENC_ID></KX_ENC_GetElementInfo>",
    response("KX_ENC_GetElementInfo", retval(0) + "".join(
        plain("EncElementType_Info", dict({"EnclosureID": 0, "Type": t, "Status": 1, "ElementID": e}, **x))
        for t, e, x in elements)))
def thresholds(t):
    if t == 4:
        return (70, 60, 0, 5)
    if t == 18:
        return (15, 10, 15, 10)
    return (0, 0, 0, 0)
add("enc_element_config", "<KX_ENC_GetElementConfig><AdapterID>0</AdapterID><ENC_ID>0</ENC_ID></KX_ENC_GetElementConfig>",
    response("KX_ENC_GetElementConfig", retval(0) + "".join(
        plain("EncElement_Config", {"ElementID": e, "EnclosureID": 0, "highCriticalThreshold": thresholds(t)[0],
                                    "highWarningThreshold": thresholds(t)[1], "lowCriticalThreshold": thresholds(t)[2],
                                    "lowWarningThreshold": thresholds(t)[3], "Status": 1, "Type": t})
        for t, e, x in elements)))

# A missing adapter number: RetVal 6 and nothing from the controller.
add("missing_adapter_list", "<KX_PD_GetHDInfo><requestType>1</requestType><startingIndexOrId>0</startingIndexOrId>"
    "<numRequested>5</numRequested></KX_PD_GetHDInfo>",
    response("KX_PD_GetHDInfo", retval(6) + header({"requestType": "1", "startingIndexOrId": "0", "numRequested": "5"},
                                                   None, None)))
add("missing_adapter_plain", "<KX_BBU_GetInfo><Comment>x</Comment></KX_BBU_GetInfo>",
    response("KX_BBU_GetInfo", retval(6)))
# The older spelling of the adapter parameter.
add("old_adapter_spelling", "<KX_PD_GetHDRaidStatus><Adpter_ID>0</Adpter_ID><requestType>1</requestType>"
    "<startingIndexOrId>4</startingIndexOrId><numRequested>3</numRequested></KX_PD_GetHDRaidStatus>",
    response("KX_PD_GetHDRaidStatus", retval(0) + header({"Adpter_ID": "0", "requestType": "1",
                                                          "startingIndexOrId": "4", "numRequested": "3"}, 1, 65535) +
             plain("Status", {"DGID": 65535, "HDID": 4, "Status": 1})))
# Settings: the answers are the controller's status.
add("bbu_set_threshold", "<KX_BBU_SetThreshold><AdapterID>0</AdapterID><tempLowerBound>5</tempLowerBound>"
    "<tempUpperBound>55</tempUpperBound><volLowerBound>7100</volLowerBound><volUpperBound>8900</volUpperBound>"
    "</KX_BBU_SetThreshold>", response("KX_BBU_SetThreshold", retval(0)))
add("bbu_after_threshold", "<KX_BBU_GetInfo><AdapterID>0</AdapterID></KX_BBU_GetInfo>",
    response("KX_BBU_GetInfo", retval(0) + plain("BBU_Info", dict(bbu, temp_lowerbound=5, temp_upperbound=55,
                                                                    volt_lowerbound=7100, volt_upperbound=8900))))
add("bbu_set_status", "<KX_BBU_SetStatus><AdapterID>0</AdapterID><status>1</status></KX_BBU_SetStatus>",
    response("KX_BBU_SetStatus", retval(0)))
add("bbu_change_power", "<KX_BBU_ChangePower><AdapterID>0</AdapterID><action>7</action></KX_BBU_ChangePower>",
    response("KX_BBU_ChangePower", retval(7)))
add("adapter_mute", "<KX_AdapterMute><AdapterID>0</AdapterID></KX_AdapterMute>", response("KX_AdapterMute", retval(0)))
add("adapter_rescan", "<KX_API_RescanAdapter/>", response("KX_API_RescanAdapter", retval(0)))
add("flash_erase_bad_page", "<KX_Flash_Erase><AdapterID>0</AdapterID><Page>3</Page></KX_Flash_Erase>",
    response("KX_Flash_Erase", retval(7)))
add("flash_erase", "<KX_Flash_Erase><AdapterID>0</AdapterID><Page>1</Page></KX_Flash_Erase>",
    response("KX_Flash_Erase", retval(0)))
add("vd_target_none", "<KX_LD_GetTargetLDInfo><AdapterID>0</AdapterID><LD_ID>1</LD_ID></KX_LD_GetTargetLDInfo>",
    response("KX_LD_GetTargetLDInfo", retval(6) + plain("LDInfo", {
        "AdapterID": 0, "BGAStatus": 0, "BlockIDs": nums([0] * 128), "CacheMode": 0, "DGID": 0, "HDCount": 0, "ID": 0,
        "Name": "", "NumParityDisk": 0, "RaidMode": 0, "SectorCoefficient": 0, "Size": 0, "Status": 0,
        "StripeBlockSize": 0, "SubLDCount": 0})))


# Image files of the simulated controller (format in sim/README.md); the
# test puts the data directory where @DATA@ stands.
import struct as _st
def image_file(name, itype, major, minor, rev, build, dev, subdev, payload_len):
    payload = bytes((i * 13 + 5) & 0xFF for i in range(payload_len))
    hdr = b"KXIM" + _st.pack("<HBB4H4HII", 1, itype, 0, major, minor, rev, build,
                              0x1a2b, dev, 0x1a2c, subdev, payload_len, sum(payload) & 0xFFFFFFFF) + bytes(32)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(hdr + payload)
image_file("firmware.img", 3, 2, 4, 1, 812, 37376, 0x00c3, 40000)
image_file("bios.img", 2, 7, 1, 0, 33, 37376, 0, 1000)
add("bin_version", "<KX_BIN_Version><filepath>@DATA@/firmware.img</filepath><AdapterID>0</AdapterID><Type>3</Type>"
    "</KX_BIN_Version>",
    response("KX_BIN_Version", retval(0) + struct("BINInfo", "BINVersion",
        struct("BINVersion", "Version_Info", members({"VerBuild": 812, "VerMajor": 2, "VerMinor": 4, "VerOEM": 1})) +
        members({"DevID": "c3"}))))
add("bios_version", "<KX_BIOS_Version><filepath>@DATA@/bios.img</filepath></KX_BIOS_Version>",
    response("KX_BIOS_Version", retval(0) + struct("BIOSInfo", "BIOS_Version",
        struct("BIOSVersion", "Version_Info", members({"BuildNumber": 33, "MajorVersion": 7, "MinorVersion": 1,
                                                       "RevisionNumber": 0})) +
        members({"DevID": "9200", "VenID": "1a2b"}))))
add("flash_option_update", "<KX_Flash_Option><AdapterID>0</AdapterID><filepath>@DATA@/firmware.img</filepath>"
    "<Actions>15</Actions><Type>3</Type></KX_Flash_Option>", response("KX_Flash_Option", retval(0)))
# The adapter now runs the image's firmware version.
add("adapter_info_after_update", "<KX_Adapter_GetInfo><AdapterID>0</AdapterID></KX_Adapter_GetInfo>",
    response("KX_Adapter_GetInfo", retval(0) + scalar("Count", 1, "U8") + adapter_struct.replace(
        struct("FirmwareVersion", "Version_Info", members(ver(ai["FirmwareVersion"], True))),
        struct("FirmwareVersion", "Version_Info", members({"VerBuild": 812, "VerMajor": 2, "VerMinor": 4, "VerOEM": 1})))))
add("flash_option_other_action", "<KX_Flash_Option><AdapterID>0</AdapterID><Actions>7</Actions></KX_Flash_Option>",
    response("KX_Flash_Option", retval(0)))
add("vd_migrated_size", "<KX_LD_GetMigratedLdSize><AdapterID>0</AdapterID><LDID>1</LDID><RaidMode>1</RaidMode>"
    "<HDCount>2</HDCount><HDIDs>3 4</HDIDs></KX_LD_GetMigratedLdSize>",
    response("KX_LD_GetMigratedLdSize", retval(0) + plain("CreateLDParam", {
        "CachePolicy": 0, "HDCount": 2, "HDIDs": nums([3, 4] + [0] * 126), "InitializationOption": 0, "LDID": 1,
        "Name": "", "NumParityDisk": 0, "RaidMode": 1, "RoundingScheme": 0, "Size": 976762587,
        "SpecifiedBlkSeq": 0, "StripeBlockSize": 64, "SubLDCount": 0})))

with open(os.path.join(HERE, "e2e_state.json"), "w") as f:
    json.dump(fixture, f, indent=1)
    f.write("\n")
with open(os.path.join(HERE, "requests.txt"), "w") as f:
    for name, xml in requests:
        f.write("%s %s\n" % (name, xml))
