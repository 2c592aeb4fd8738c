// The four command tables of arrayctl. The row order is the listing
// order of "help" and decides nothing else: a word typed in full wins at
// once, otherwise its prefix must fit exactly one row.
#include "Public/dispatch.h"
#include "Functions/handlers.h"
#include "Functions/help_texts.h"

#define ROW(word, handler, help, shortHelp) {word, sizeof(word), handler, help, shortHelp}


cmd_struct generalCmdTableV1[] = {
    ROW("?", doHelp, help_help, qmark_sh),
    ROW("help", doHelp, help_help, help_sh),
    ROW("devmap", doDevMap, devmap_help, devmap_sh),
    ROW("adapter", doAdapter, adapter_help, adapter_sh),
    ROW("assign", doAssign, spare_help, assign_sh),
    ROW("flash", doFlash, flash_help, flash_sh),
    ROW("rescan", doRescan, rescan_help, rescan_sh),
    ROW("cc", doCC, cc_help, cc_sh),
    ROW("create", doCreate, create_help, create_sh),
    ROW("delete", doDelete, delete_help, delete_sh),
    ROW("event", doEvent, event_help, event_sh),
    ROW("get", doGet, get_help, get_sh),
    ROW("info", doInfo, info_help, info_sh),
    ROW("init", doInit, init_help, init_sh),
    ROW("migrate", doMigrate, migrate_help, migrate_sh),
    ROW("rebuild", doRebuild, rebuild_help, rebuild_sh),
    ROW("set", doSet, set_help, set_sh),
    ROW("enc", doEnclosure, enc_help, enc_sh),
    ROW("import", doImport, import_help, import_sh),
    ROW("locate", doLocate, locate_help, locate_sh),
    ROW("mp", doMP, mp_help, mp_sh),
    ROW("report", doReport, report_help, report_sh),
    ROW("aesop", doAESOp, aesop_help, aesop_sh),
    ROW("aesentry", doAESEntry, aesentry_help, aesentry_sh),
    ROW("aesport", doAESPort, aesport_help, aesport_sh),
    ROW("forceonline", doForceOnline, forceonline_help, forceonline_sh),
    ROW("smart", doSmart, smart_help, smart_sh),
};
static_assert(sizeof(generalCmdTableV1) / sizeof(generalCmdTableV1[0]) == 27, "rows of generalCmdTableV1");
unsigned short generalCmdTableV1Size() { return sizeof(generalCmdTableV1) / sizeof(generalCmdTableV1[0]); }

cmd_struct internalCmdTableV1[] = {
    ROW("smartctl", doSmartCtl, smartctl_help, smartctl_sh),
    ROW("ssd", doSsdDiagnostic, ssd_help, ssd_sh),
    ROW("ssdop", doSsdOp, ssdop_help, ssdop_sh),
    ROW("devmap", doDevMap, devmap_help, devmap_sh),
    ROW("register", doRegister, register_help, register_sh),
    ROW("nvsram", doNvsramRW, nvsram_help, nvsram_sh),
    ROW("maxcreatesize", doGetMaxsize, getmaxsize_help, maxcreatesize_sh),
    ROW("wipe", doWipe, wipe_help, wipe_sh),
    ROW("status", doStatus, status_help, status_sh),
    ROW("error", doError, error_help, error_sh),
    ROW("version", doVersion, version_help, version_sh),
    ROW("flash", doFlash, flash_help, flash_sh),
    ROW("tandem", doTandem, tandem_help, tandem_sh),
    ROW("pause", doPause, pause_help, pause_sh),
};
static_assert(sizeof(internalCmdTableV1) / sizeof(internalCmdTableV1[0]) == 14, "rows of internalCmdTableV1");
unsigned short internalCmdTableV1Size() { return sizeof(internalCmdTableV1) / sizeof(internalCmdTableV1[0]); }

cmd_struct generalCmdTableV2[] = {
    ROW("?", doHelp, help_help, qmark_sh),
    ROW("help", doHelp, help_help, help_sh),
    ROW("devmap", doDevMap, devmap_help, devmap_sh),
    ROW("adapter", doAdapter, adapter_help, adapter_sh),
    ROW("assign", doAssign, spare_help, assign_sh),
    ROW("flash", doFlash, flash_help, flash_sh),
    ROW("locate", doLocate, locate_help, locate_sh),
    ROW("rescan", doRescan, rescan_help, rescan_sh),
    ROW("cc", doCC, cc_help, cc_sh),
    ROW("create", doCreateV2, createV2_help, createV2_sh),
    ROW("delete", doDelete, delete_help, delete_sh),
    ROW("event", doEvent, event_help, event_sh),
    ROW("get", doGet, get_help, get_sh),
    ROW("info", doInfo, info_help, info_sh),
    ROW("init", doInit, init_help, init_sh),
    ROW("migrate", doMigrateV2, migrateV2_help, migrate_sh),
    ROW("set", doSetV2, setV2_help, setV2_sh),
    ROW("rebuild", doRebuildV2, rebuildV2_help, rebuildV2_sh),
    ROW("smart", doSmart, smart_help, smart_sh),
    ROW("enc", doEnclosure, enc_help, enc_sh),
    ROW("import", doImport, import_help, import_sh),
    ROW("copyback", doCopyBack, copyback_help, copyback_sh),
    ROW("mp", doMP, mp_help, mp_sh),
    ROW("message", doMessage, message_help, message_sh),
};
static_assert(sizeof(generalCmdTableV2) / sizeof(generalCmdTableV2[0]) == 24, "rows of generalCmdTableV2");
unsigned short generalCmdTableV2Size() { return sizeof(generalCmdTableV2) / sizeof(generalCmdTableV2[0]); }

cmd_struct internalCmdTableV2[] = {
    ROW("smartctl", doSmartCtl, smartctl_help, smartctl_sh),
    ROW("nvsram", doNvsramRW, nvsram_help, nvsram_sh),
    ROW("ssd", doSsdDiagnostic, ssd_help, ssd_sh),
    ROW("ssdop", doSsdOp, ssdop_help, ssdop_sh),
    ROW("devmap", doDevMap, devmap_help, devmap_sh),
    ROW("maxcreatesize", doGetMaxsize, getmaxsize_help, maxcreatesize_sh),
    ROW("wipe", doWipe, wipe_help, wipe_sh),
    ROW("status", doStatus, status_help, status_sh),
    ROW("error", doError, error_help, error_sh),
    ROW("version", doVersion, version_help, version_sh),
    ROW("flash", doFlash, flash_help, flash_sh),
    ROW("pause", doPause, pause_help, pause_sh),
    ROW("tandem", doTandem, tandem_help, tandem_sh),
};
static_assert(sizeof(internalCmdTableV2) / sizeof(internalCmdTableV2[0]) == 13, "rows of internalCmdTableV2");
unsigned short internalCmdTableV2Size() { return sizeof(internalCmdTableV2) / sizeof(internalCmdTableV2[0]); }
