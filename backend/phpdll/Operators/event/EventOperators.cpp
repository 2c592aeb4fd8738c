// "AR_KX_EVT_GetEvents", "AR_KX_EVT_GetChangeCounters" and
// "AR_KX_EVT_Reset": the GUI's view of the machine's event store. They
// read the store, never the controller, and take no adapter number.
#include <new>
#include <vector>

#include "DataType/SingleType/ValueText.h"
#include "DataType/StructType/StructParser.h"
#include "Operators/KXAPIOperator.h"
#include "Operators/OperatorTable.h"
#include "Operators/event/EventText.h"
#include "qta_api.h"

// The page of events a request asks for: s, the index of the first event;
// n, how many; e, unused (always 0 once read).
typedef struct _QTA_EventHeader {
    KX_U32 s;
    KX_U32 n;
    KX_U32 e;
} KX_PACKED QTA_EventHeader;
KX_CHECK_SIZE(QTA_EventHeader, 12);

// Sets only the fields whose parameter is present, so a request without
// "s" or "n" reads the page the previous request of this process left.
class EventParser : public StructParser<QTA_EventHeader> {
public:
    void parse(ValuesMap &params) override
    {
        KX_READ_FIELD(params, "s", m_u32, m_struct.s);
        KX_READ_FIELD(params, "n", m_u32, m_struct.n);
        KX_READ_FIELD(params, "e", m_u32, m_struct.e);
    }

private:
    U32Parser m_u32;
};

class EventOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME

    // The store never holds more readable events than this, so a larger
    // "n" asks for nothing more, only for memory.
    static const KX_U32 kStoreCapacity = 50000;
    // Classes from 50 on are the controller's internal ones.
    static const KX_U16 kFirstHiddenClass = 50;

    EventOperator() : KXAPIOperator(m_OperatorName) {}

    bool analyze(ValuesMap &params) override
    {
        m_Parser.parse(params);
        m_Parser.getStruct().e = 0;
        return true;
    }

    void run() override
    {
        QTA_EventHeader &h = m_Parser.getStruct();
        m_APIRet = KX_SUCCESS;
        m_events.clear();
        if (h.n == 0 && h.s == 0) {
            // Count mode: the GUI learns how many events there are.
            Event_ChangeCounters counters;
            QTA_GetEventChangeStatus(&counters);
            if (counters.Whatever_Change != 0) {
                h.n = counters.Whatever_Change;
                h.s = 0;
            }
            return;
        }
        KX_U32 room = h.n < kStoreCapacity ? h.n : kStoreCapacity;
        std::vector<ServiceEvent> records;
        if (room > 0) {
            try {
                records.resize(room);
            } catch (const std::bad_alloc &) {
                return;
            }
        }
        KX_U32 count = room;
        QTA_GetEvent(h.s, &count, records.data());
        if (count > room)
            count = room;
        h.n = count;
        for (KX_U32 i = 0; i < count; ++i) {
            const ServiceEvent &ev = records[i];
            if (ev.kxevent.Class >= kFirstHiddenClass)
                continue;
            ValuesMap out;
            out["Class"] = kxDecimal(ev.kxevent.Class);
            out["Severity"] = kxDecimal(ev.kxevent.Severity);
            out["AdapterID"] = kxDecimal(ev.kxevent.AdapterID);
            out["Time"] = getTime(ev);
            out["Msg"] = getMsg(ev);
            m_events.push_back(out);
        }
    }

    void buildXML() override
    {
        const QTA_EventHeader &h = m_Parser.getStruct();
        m_xml.addResult(m_APIRet);
        m_xml.addValue("n", kxDecimal(h.n), "U32");
        m_xml.addValue("s", kxDecimal(h.s), "U32");
        for (const ValuesMap &ev : m_events)
            m_xml.addRetStruct("Event", ev);
        m_events.clear();
    }

private:
    EventParser m_Parser;
    std::vector<ValuesMap> m_events;
};
KX_OPERATOR_NAME(EventOperator, "AR_KX_EVT_GetEvents")
KX_REGISTER_OPERATOR(EventOperator)

class EventChangeCountOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    EventChangeCountOperator() : KXAPIOperator(m_OperatorName) {}

    bool analyze(ValuesMap &) override { return true; }
    void run() override
    {
        Event_ChangeCounters c;
        QTA_GetEventChangeStatus(&c);
        m_eventCounts.clear();
        m_eventCounts["ARRAY_Change"] = kxDecimal(c.ARRAY_Change);
        m_eventCounts["Adapter_Change"] = kxDecimal(c.Adapter_Change);
        m_eventCounts["BAT_Change"] = kxDecimal(c.BAT_Change);
        m_eventCounts["BSL_Change"] = kxDecimal(c.BSL_Change);
        m_eventCounts["CACHE_Change"] = kxDecimal(c.CACHE_Change);
        m_eventCounts["ENCL_Change"] = kxDecimal(c.ENCL_Change);
        m_eventCounts["Expander_Change"] = kxDecimal(c.Expander_Change);
        m_eventCounts["FLASH_Change"] = kxDecimal(c.FLASH_Change);
        m_eventCounts["HD_Change"] = kxDecimal(c.HD_Change);
        m_eventCounts["LD_Change"] = kxDecimal(c.LD_Change);
        m_eventCounts["MDD_Change"] = kxDecimal(c.MDD_Change);
        m_eventCounts["MISC_Change"] = kxDecimal(c.MISC_Change);
        m_eventCounts["PM_Change"] = kxDecimal(c.PM_Change);
        m_eventCounts["SAS_Change"] = kxDecimal(c.SAS_Change);
        m_eventCounts["Whatever_Change"] = kxDecimal(c.Whatever_Change);
    }
    void buildXML() override
    {
        m_xml.addResult(KX_SUCCESS);
        m_xml.addRetStruct("Event", m_eventCounts);
        m_eventCounts.clear();
    }

private:
    ValuesMap m_eventCounts;
};
KX_OPERATOR_NAME(EventChangeCountOperator, "AR_KX_EVT_GetChangeCounters")
KX_REGISTER_OPERATOR(EventChangeCountOperator)

class EventPoolResetOperator : public KXAPIOperator {
    KX_OPERATOR_DECLARE_NAME
    EventPoolResetOperator() : KXAPIOperator(m_OperatorName) {}

    bool analyze(ValuesMap &) override { return true; }
    void run() override { QTA_ClearFile(); }
    void buildXML() override { m_xml.addResult(KX_SUCCESS); }
};
KX_OPERATOR_NAME(EventPoolResetOperator, "AR_KX_EVT_Reset")
KX_REGISTER_OPERATOR(EventPoolResetOperator)
