// "KX_LD_Delete": deletes a VD, stopping its background activity first.
#include "APIClass/Requests.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"

class VDDeleteOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    VDDeleteOperator() : KXAPIOperator(m_OperatorName), m_id(0), m_deleteMBR(0) {}

    bool analyze(ValuesMap &params) override
    {
        if (!getAdapterID(params))
            return false;
        KX_READ_FIELD(params, "LD_ID", m_idParser, m_id);
        KX_READ_FIELD(params, "deleteMBR", m_deleteMBRParser, m_deleteMBR);
        return true;
    }

    void run() override
    {
        if (!m_hasAdapter)
            return;
        RequestHeader byId = {};
        byId.requestType = KX_REQUEST_BY_ID;
        byId.startingIndexOrId = m_id;
        byId.numRequested = 1;
        VDStatusRequest status(byId, m_adapterID);
        status.runAPI();
        // A running activity would keep the VD's blocks busy; offline (4)
        // and foreign (6) VDs run none the controller could stop.
        if (status.getAPIResult() == KX_SUCCESS && status.returnedInBuffer() > 0) {
            const LD_Status &s = *status.getInstance();
            if (s.Status != 4 && s.Status != 6 && (s.Bga != 0 || s.BgaState != 0))
                KX_LD_BGAControl(m_adapterID, m_id, kStopEveryActivity);
        }
        m_APIRet = KX_LD_Delete(m_adapterID, m_id, m_deleteMBR);
    }

private:
    static const KX_U8 kStopEveryActivity = 7;
    U16Parser m_idParser;
    U8Parser m_deleteMBRParser;
    KX_U16 m_id;
    KX_U8 m_deleteMBR;
};

KX_OPERATOR_NAME(VDDeleteOperator, "KX_LD_Delete")
KX_REGISTER_OPERATOR(VDDeleteOperator)
