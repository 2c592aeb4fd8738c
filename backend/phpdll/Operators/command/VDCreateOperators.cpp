// "KX_LD_Create" and "KX_LD_StartMigration": a VD layout from the request,
// made or migrated to.
#include "Operators/OperatorTable.h"
#include "Operators/command/RecordOperator.h"
#include "Operators/info/LDCreateParser.h"
#include "kx_api.h"

KX_RECORD_OPERATOR(VDCreateOperator, "KX_LD_Create", LDCreateParser, KX_LD_Create)
KX_RECORD_OPERATOR(VDStartMigrateOperator, "KX_LD_StartMigration", LDCreateParser, KX_LD_StartMigration)
