// The requests that are one controller call each: activity control,
// import, rebuild, consistency check, initialisation, disk roles and
// states, array delete, quick create and locate LEDs.
#include "Operators/command/PassThroughOperator.h"
#include "kx_api.h"

KX_PASS_THROUGH_OPERATOR(VDBGAControlOperator, "KX_LD_BGAControl", KX_LD_BGAControl, "LD_ID", "Actions")
KX_PASS_THROUGH_OPERATOR(VDImportOperator, "KX_LD_Import", KX_LD_Import, "LD_ID")
KX_PASS_THROUGH_OPERATOR(VDStartBuildOperator, "KX_LD_StartRebuild", KX_LD_StartRebuild, "LD_ID", "Rebuild_HD_ID")
KX_PASS_THROUGH_OPERATOR(VDStartCCOperator, "KX_LD_StartConsistencyCheck", KX_LD_StartConsistencyCheck, "LD_ID",
                         "Type")
KX_PASS_THROUGH_OPERATOR(VDStartInitOperator, "KX_LD_StartINIT", KX_LD_StartINIT, "LD_ID", "Init_Type")
KX_PASS_THROUGH_OPERATOR(PDWipeMDDOperator, "KX_PD_WipeHDMDD", KX_PD_WipeHDMDD, "HD_ID", "Force")
KX_PASS_THROUGH_OPERATOR(PDSetStatusOperator, "KX_PD_SetHDStatus", KX_PD_SetHDStatus, "HD_ID", "Action")
KX_PASS_THROUGH_OPERATOR(PDBGAControlOperator, "KX_PD_BGAControl", KX_PD_BGAControl, "HD_ID", "Action")
KX_PASS_THROUGH_OPERATOR(PDSetDGSpareOperator, "KX_PD_FreeHD2DGSpare", KX_PD_FreeHD2DGSpare, "HD_ID", "DG_ID")
KX_PASS_THROUGH_OPERATOR(PDSetFreeOperator, "KX_PD_Spare2FreeHD", KX_PD_Spare2FreeHD, "HD_ID")
KX_PASS_THROUGH_OPERATOR(PDSetGlobalSpareOperator, "KX_PD_FreeHD2GlobalSpare", KX_PD_FreeHD2GlobalSpare, "HD_ID")
KX_PASS_THROUGH_OPERATOR(PDStartDataScrubOperator, "KX_PD_StartDataScrub", KX_PD_StartDataScrub, "HD_ID")
KX_PASS_THROUGH_OPERATOR(PDStartMediaPatrolOperator, "KX_PD_StartMediaPatrol", KX_PD_StartMediaPatrol, "HD_ID")
KX_PASS_THROUGH_OPERATOR(DGBGAControlOperator, "KX_DG_BGAControl", KX_DG_BGAControl, "DG_ID", "Actions")
KX_PASS_THROUGH_OPERATOR(DGDeleteOperator, "KX_DG_Delete", KX_DG_Delete, "DG_ID")
KX_PASS_THROUGH_OPERATOR(DGQuickCreateOperator, "KX_LD_DG_QuickCreate", KX_LD_DG_QuickCreate, "Type")
KX_PASS_THROUGH_OPERATOR(LocateArrayDeviceOperator, "KX_LocateArrayDevice", KX_LocateArrayDevice, "deviceType",
                         "deviceId", "ledStatus")
