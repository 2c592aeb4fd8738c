/*
 * Short helps ("<command>_sh", one line for the command list) and help pages
 * ("<command>_help") of every command. Each command keeps its texts in
 * Functions/<command>/<command>_help.cpp; the command tables point at them.
 * Some pages contain "%%": "help <command>" prints the texts as printf
 * formats, a handler's -h prints them as plain text.
 */
#ifndef CLI_HELP_TEXTS_H
#define CLI_HELP_TEXTS_H


/* help */
extern const char help_sh[];
extern const char qmark_sh[];
extern const char help_help[];

/* version */
extern const char version_sh[];
extern const char version_help[];

/* adapter */
extern const char adapter_sh[];
extern const char adapter_help[];

/* error */
extern const char error_sh[];
extern const char error_help[];

/* info */
extern const char info_sh[];
extern const char info_help[];

/* status */
extern const char status_sh[];
extern const char status_help[];

/* cc */
extern const char cc_sh[];
extern const char cc_help[];

/* init */
extern const char init_sh[];
extern const char init_help[];

/* rebuild */
extern const char rebuild_sh[];
extern const char rebuildV2_sh[];
extern const char rebuild_help[];
extern const char rebuildV2_help[];

/* migrate */
extern const char migrate_sh[];
extern const char migrate_help[];
extern const char migrateV2_help[];

/* mp */
extern const char mp_sh[];
extern const char mp_help[];

/* copyback */
extern const char copyback_sh[];
extern const char copyback_help[];

/* create */
extern const char create_sh[];
extern const char createV2_sh[];
extern const char create_help[];
extern const char createV2_help[];

/* set */
extern const char set_sh[];
extern const char setV2_sh[];
extern const char set_help[];
extern const char setV2_help[];

/* event */
extern const char event_sh[];
extern const char event_help[];

/* message */
extern const char message_sh[];
extern const char message_help[];

/* smart */
extern const char smart_sh[];
extern const char smart_help[];

/* smartctl */
extern const char smartctl_sh[];
extern const char smartctl_help[];

/* ssdop */
extern const char ssdop_sh[];
extern const char ssdop_help[];

/* rescan */
extern const char rescan_sh[];
extern const char rescan_help[];

/* report */
extern const char report_sh[];
extern const char report_help[];

/* register */
extern const char register_sh[];
extern const char register_help[];

/* devmap */
extern const char devmap_sh[];
extern const char devmap_help[];

/* tandem */
extern const char tandem_sh[];
extern const char tandem_help[];

/* delete */
extern const char delete_sh[];
extern const char delete_help[];

/* assign */
extern const char assign_sh[];
extern const char spare_help[];

/* import */
extern const char import_sh[];
extern const char import_help[];

/* locate */
extern const char locate_sh[];
extern const char locate_help[];

/* wipe */
extern const char wipe_sh[];
extern const char wipe_help[];

/* pause */
extern const char pause_sh[];
extern const char pause_help[];

/* maxcreatesize */
extern const char maxcreatesize_sh[];
extern const char getmaxsize_help[];

/* get */
extern const char get_sh[];
extern const char get_help[];

/* flash */
extern const char flash_sh[];
extern const char flash_help[];

/* nvsram */
extern const char nvsram_sh[];
extern const char nvsram_help[];

/* enc */
extern const char enc_sh[];
extern const char enc_help[];

/* aesop */
extern const char aesop_sh[];
extern const char aesop_help[];

/* aesentry */
extern const char aesentry_sh[];
extern const char aesentry_help[];

/* aesport */
extern const char aesport_sh[];
extern const char aesport_help[];

/* forceonline */
extern const char forceonline_sh[];
extern const char forceonline_help[];

/* ssd */
extern const char ssd_sh[];
extern const char ssd_help[];

#endif /* CLI_HELP_TEXTS_H */
