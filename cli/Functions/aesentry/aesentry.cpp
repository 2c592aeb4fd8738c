// The aesentry command is not part of this build yet; its table row and help
// stay so that "help" and abbreviations see the full command set.
#include "Functions/handlers.h"
#include "Public/dispatch.h"

int doAESEntry(int argc, char **argv, cmd_struct *pCmdInfo)
{
    return notAvailableInThisBuild(argc, argv, pCmdInfo);
}
