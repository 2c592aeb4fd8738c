#ifndef KX_VD_SIZE_OPERATORS_H
#define KX_VD_SIZE_OPERATORS_H

#include "Operators/KXAPIOperator.h"
#include "Operators/info/LDCreateParser.h"

// The two size questions about a planned VD layout: the largest VD the
// parameters allow, and the size an existing VD would have after a
// migration. Both answer with the request record as the controller
// returned it, whose Size is the answer.
class VDSizeOperator : public KXAPIOperator {
public:
    typedef KX_U8 (*SizeCall)(KX_U8, Create_LD_Param *);
    VDSizeOperator(const std::string &name, SizeCall call, bool withLDID);

    bool analyze(ValuesMap &params) override;
    void run() override;
    void buildXML() override;

private:
    SizeCall m_call;
    bool m_withLDID;
    LDCreateParser m_parser;
    Create_LD_Param m_answer;
};

#endif
