// "KX_LD_Delete" and "KX_Tandem_Delete": delete a VD (a Tandem volume is
// one), stopping its background activity first.
#include "APIClass/ReadByID.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"

namespace {

class DeleteOperator : public KXAPIOperator {
public:
    DeleteOperator(const std::string &requestName, const char *idName)
        : KXAPIOperator(requestName), m_idName(idName), m_id(0), m_deleteMBR(0)
    {
    }

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, m_idName, m_idParser, m_id);
        KX_READ_FIELD(params, "deleteMBR", m_deleteMBRParser, m_deleteMBR);
        return true;
    }

    void run() override
    {
        if (!m_hasAdapter)
            return;
        // A running activity would keep the VD's blocks busy; offline (4)
        // and foreign (6) VDs run none the controller could stop.
        LD_Status s = LD_Status();
        if (kxReadByID<VDStatusRequest>(m_adapterID, m_id, s) == KX_SUCCESS && s.Status != 4 && s.Status != 6 &&
            (s.Bga != 0 || s.BgaState != 0))
            KX_LD_BGAControl(m_adapterID, m_id, kStopEveryActivity);
        m_APIRet = KX_LD_Delete(m_adapterID, m_id, m_deleteMBR);
    }

private:
    static const KX_U8 kStopEveryActivity = 7;
    const char *m_idName;
    U16Parser m_idParser;
    U8Parser m_deleteMBRParser;
    KX_U16 m_id;
    KX_U8 m_deleteMBR;
};

} // namespace

class VDDeleteOperator : public DeleteOperator {
    KX_OPERATOR_DECLARE_NAME
    VDDeleteOperator() : DeleteOperator(m_OperatorName, "LD_ID") {}
};
KX_OPERATOR_NAME(VDDeleteOperator, "KX_LD_Delete")
KX_REGISTER_OPERATOR(VDDeleteOperator)

class HDDDeleteOperator : public DeleteOperator {
    KX_OPERATOR_DECLARE_NAME
    HDDDeleteOperator() : DeleteOperator(m_OperatorName, "Tandem_ID") {}
};
KX_OPERATOR_NAME(HDDDeleteOperator, "KX_Tandem_Delete")
KX_REGISTER_OPERATOR(HDDDeleteOperator)
