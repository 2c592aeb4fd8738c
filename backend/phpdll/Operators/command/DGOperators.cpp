// The disk-group requests that fill a record: create an array (reporting
// its ID), size a change of its disks, migrate it, rebuild it, and create a
// VD in one of its slots.
#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/CreateParsers.h"
#include "Operators/OperatorTable.h"
#include "Operators/command/DGFunctions.h"
#include "Operators/command/RecordOperator.h"
#include "kx_api.h"

namespace {

// Reports one member of the record as the controller left it, in a struct
// of type CreateOrModify_DG_Param (the GUI knows the two requests' elements
// by different names).
class DGAnswerOperator : public RecordOperator<DGCreateParser> {
public:
    DGAnswerOperator(const std::string &requestName, Call call, const char *element, bool withSize)
        : RecordOperator<DGCreateParser>(requestName, call), m_element(element), m_withSize(withSize)
    {
    }

    void buildXML() override
    {
        KXAPIOperator::buildXML();
        if (!m_hasAdapter)
            return;
        ValuesMap out;
        if (m_withSize)
            out["Size"] = kxDecimal(m_record.Size);
        else
            out["DGID"] = kxDecimal(m_record.DGID);
        m_xml.addStructBody(m_xml.addStructNameToRoot("CreateOrModify_DG_Param", m_element), out);
    }

private:
    const char *m_element;
    bool m_withSize;
};

} // namespace

class DGCreateOperator : public DGAnswerOperator {
    KX_OPERATOR_DECLARE_NAME
    DGCreateOperator() : DGAnswerOperator(m_OperatorName, KX_DG_Create, "CreateOrModifyDGParam", false) {}
};
KX_OPERATOR_NAME(DGCreateOperator, "KX_DG_Create")
KX_REGISTER_OPERATOR(DGCreateOperator)

class DGGetSizeOperator : public DGAnswerOperator {
    KX_OPERATOR_DECLARE_NAME
    DGGetSizeOperator() : DGAnswerOperator(m_OperatorName, KX_DG_GetSizeOnly, "CreateOrModify_DG_Param", true) {}
};
KX_OPERATOR_NAME(DGGetSizeOperator, "KX_DG_GetSizeOnly")
KX_REGISTER_OPERATOR(DGGetSizeOperator)

KX_RECORD_OPERATOR(DGStartMigrationOperator, "KX_DG_StartMigration", DGCreateParser, kxDGStartMigration)
KX_RECORD_OPERATOR(DGStartRebuildOperator, "KX_LD_DG_StartRebuild", RebuildParser, KX_LD_DG_StartRebuild)
KX_RECORD_OPERATOR(DGCreateOrModifyVDOperator, "KX_LD_Create_OnDG", DGCreateVDParser, KX_LD_Create_OnDG)
