// An in-memory controller for in-process tests of the module's code. Its
// functions replace those of libarraycore.so in the test programs that link
// fake_controller.cpp (a program's own definitions win over a shared
// library's), so each test decides exactly what the controller answers and
// can see every call that reached it.
#ifndef PHPDLL_FAKE_CONTROLLER_H
#define PHPDLL_FAKE_CONTROLLER_H

#include <string>
#include <vector>

#include "kx_records.h"

struct FakeCall {
    std::string name;
    unsigned adapter;
    unsigned a, b, c; // the call's further arguments, or paging start / count
};

struct FakeController {
    std::vector<LD_Status> vds;
    std::vector<HD_Info> pds;
    std::vector<LD_Info> ldInfos;
    KX_U8 adapterCount = 1;
    KX_U16 maxBufferKiB = 0;
    KX_U8 adapterInfoStatus = 0;
    KX_U8 hdInfoExtStatus = 0;   // status of KX_PD_GetHDInfo_Ext
    KX_U8 deleteStatus = 0;
    unsigned failListCall = 0;   // the Nth list call (1-based) fails ...
    KX_U8 failStatus = 0;        // ... with this status
    bool overreport = false;     // list calls claim more records than asked for
    unsigned listCalls = 0;
    int initializeCalls = 0;
    int finalizeCalls = 0;
    std::vector<FakeCall> calls;

    void reset() { *this = FakeController(); }
    std::vector<FakeCall> callsNamed(const std::string &name) const;
    void addVD(KX_U16 id, KX_U8 status = 0, KX_U8 bga = 0, KX_U8 bgaState = 0);
};

extern FakeController gFake;

#endif
