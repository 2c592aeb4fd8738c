/*
 * Every command handler of arrayctl, one per command word (two where the
 * V1 and V2 tables differ). Each lives alone in
 * Functions/<command>/<command>.cpp; its help texts are in
 * Functions/<command>/<command>_help.cpp (see help_texts.h).
 */
#ifndef CLI_HANDLERS_H
#define CLI_HANDLERS_H

#include "Public/cli_types.h"

int doHelp(int argc, char **argv, cmd_struct *pCmdInfo);
int doVersion(int argc, char **argv, cmd_struct *pCmdInfo);
int doAdapter(int argc, char **argv, cmd_struct *pCmdInfo);
int doError(int argc, char **argv, cmd_struct *pCmdInfo);
int doInfo(int argc, char **argv, cmd_struct *pCmdInfo);
int doStatus(int argc, char **argv, cmd_struct *pCmdInfo);
int doAssign(int argc, char **argv, cmd_struct *pCmdInfo);
int doCC(int argc, char **argv, cmd_struct *pCmdInfo);
int doCopyBack(int argc, char **argv, cmd_struct *pCmdInfo);
int doDelete(int argc, char **argv, cmd_struct *pCmdInfo);
int doImport(int argc, char **argv, cmd_struct *pCmdInfo);
int doInit(int argc, char **argv, cmd_struct *pCmdInfo);
int doLocate(int argc, char **argv, cmd_struct *pCmdInfo);
int doMigrate(int argc, char **argv, cmd_struct *pCmdInfo);
int doMigrateV2(int argc, char **argv, cmd_struct *pCmdInfo);
int doMP(int argc, char **argv, cmd_struct *pCmdInfo);
int doRebuild(int argc, char **argv, cmd_struct *pCmdInfo);
int doRebuildV2(int argc, char **argv, cmd_struct *pCmdInfo);
int doGetMaxsize(int argc, char **argv, cmd_struct *pCmdInfo);
int doWipe(int argc, char **argv, cmd_struct *pCmdInfo);
int doPause(int argc, char **argv, cmd_struct *pCmdInfo);
int doCreate(int argc, char **argv, cmd_struct *pCmdInfo);
int doCreateV2(int argc, char **argv, cmd_struct *pCmdInfo);
int doSet(int argc, char **argv, cmd_struct *pCmdInfo);
int doSetV2(int argc, char **argv, cmd_struct *pCmdInfo);
int doGet(int argc, char **argv, cmd_struct *pCmdInfo);
int doEvent(int argc, char **argv, cmd_struct *pCmdInfo);
int doMessage(int argc, char **argv, cmd_struct *pCmdInfo);
int doFlash(int argc, char **argv, cmd_struct *pCmdInfo);
int doNvsramRW(int argc, char **argv, cmd_struct *pCmdInfo);
int doDevMap(int argc, char **argv, cmd_struct *pCmdInfo);
int doRescan(int argc, char **argv, cmd_struct *pCmdInfo);
int doEnclosure(int argc, char **argv, cmd_struct *pCmdInfo);
int doReport(int argc, char **argv, cmd_struct *pCmdInfo);
int doAESOp(int argc, char **argv, cmd_struct *pCmdInfo);
int doAESEntry(int argc, char **argv, cmd_struct *pCmdInfo);
int doAESPort(int argc, char **argv, cmd_struct *pCmdInfo);
int doForceOnline(int argc, char **argv, cmd_struct *pCmdInfo);
int doSmart(int argc, char **argv, cmd_struct *pCmdInfo);
int doSmartCtl(int argc, char **argv, cmd_struct *pCmdInfo);
int doSsdDiagnostic(int argc, char **argv, cmd_struct *pCmdInfo);
int doSsdOp(int argc, char **argv, cmd_struct *pCmdInfo);
int doRegister(int argc, char **argv, cmd_struct *pCmdInfo);
int doTandem(int argc, char **argv, cmd_struct *pCmdInfo);

#endif /* CLI_HANDLERS_H */
