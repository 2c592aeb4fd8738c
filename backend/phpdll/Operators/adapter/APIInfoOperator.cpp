// "KX_API_Info": the controller library's version and whether any adapter
// can be given schedules of background activities.
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/adapter/AdapterCapabilities.h"
#include "kx_api.h"

class APIInfoOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    APIInfoOperator() : KXAPIOperator(m_OperatorName), m_schedule(false) {}

    bool analyze(ValuesMap &) override { return true; }
    void run() override
    {
        const char *version = KX_API_Version();
        m_version = version ? version : "";
        m_schedule = false;
        for (const Adapter_Info &info : kxReadAllAdapterInfo())
            if (kxBGASupport(info))
                m_schedule = true;
    }
    void buildXML() override
    {
        m_xml.addValue("API_Version", m_version, "string");
        m_xml.addValue("ScheduleSupport", m_schedule ? "1" : "0", "U8");
    }

private:
    std::string m_version;
    bool m_schedule;
};

KX_OPERATOR_NAME(APIInfoOperator, "KX_API_Info")
KX_REGISTER_OPERATOR(APIInfoOperator)
