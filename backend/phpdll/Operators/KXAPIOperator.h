#ifndef KX_API_OPERATOR_H
#define KX_API_OPERATOR_H

#include <string>

#include "Parser/ValuesMap.h"
#include "Parser/ValuesMap2XML.h"
#include "kx_types.h"

// One request name of the module, served by one object that lives as long
// as the process's dispatcher and is reused by every request of that name.
//
// Life of a request: analyze(params), doOp(), getReturn(out).
// - analyze reads the parameters into the operator's fields. Fields keep
//   their values between requests, so a parameter a request leaves out
//   stays as the previous request of this process set it.
// - run talks to the controller (never when analyze found no adapter).
// - buildXML writes the response into m_xml; the framework prints it.
//
// Subclasses: see README.md in this module ("Adding an operator").
class KXAPIOperator {
public:
    explicit KXAPIOperator(const std::string &requestName);
    virtual ~KXAPIOperator();
    KXAPIOperator(const KXAPIOperator &) = delete;
    KXAPIOperator &operator=(const KXAPIOperator &) = delete;

    // Returns false when a parameter the operator cannot do without is
    // missing; the request still runs and reports that in its result code.
    virtual bool analyze(ValuesMap &params) = 0;
    virtual void run() = 0;
    // The request name, the same for every object of the class.
    virtual const std::string &getName() const = 0;
    // Default: RetVal with m_APIRet.
    virtual void buildXML();

    void doOp() { run(); }
    // Builds and prints the response; out gets its text.
    void getReturn(std::string &out);

    // "AdapterID", or else "Adpter_ID" (an old spelling the GUI still
    // sends), as U8 into m_adapterID. Without either m_APIRet becomes 6,
    // hasAdapter() false, and the result is false.
    bool getAdapterID(const ValuesMap &params);
    bool hasAdapter() const { return m_hasAdapter; }
    KX_U8 result() const { return m_APIRet; }

    static const KX_U8 kMissingAdapter = 6;

protected:
    KX_U8 m_APIRet;
    std::string m_errorMessage;
    KX_U8 m_adapterID;
    bool m_hasAdapter;
    ValuesMap2XML m_xml;
};

// Defines getName() and the class-wide request name of an operator class.
#define KX_OPERATOR_NAME(Class, Name)                                    \
    const std::string Class::m_OperatorName = Name;                      \
    const std::string &Class::getName() const { return m_OperatorName; }

// Declares the same inside the class.
#define KX_OPERATOR_DECLARE_NAME                       \
public:                                                \
    static const std::string m_OperatorName;           \
    const std::string &getName() const override;

#endif
