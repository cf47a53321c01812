// The memory and exchange-rate registers: one browse and one form over
// VenCalc, each built once and told apart by a register's data (the kind
// of record, titles, tips, limits and the rate's lowest value).
#pragma once

#include "platform/BrowseList.h"

#include <memory>

namespace ven {

struct CalcRegisterSpec {
    // Browse.
    const char* browse;       // procedure name
    const char* kind;         // CAL:CM: "M" or "E"
    const char* browseTitle;
    const char* tab;
    std::vector<BrowseColumn> (*columns)();
    // Form.
    const char* form;         // procedure name
    const char* formTitle;
    int formWidth;
    const char* formTab;
    const char* numberPicture;
    int spinHigh;             // the spin offers 1..spinHigh
    int okHigh;               // OK accepts 1..okHigh
    const char* numberTip;
    const char* nameTip;
    const char* valuePrompt;
    double lowestValue;       // OK refuses a value below it; 0 with checkValue false
    bool checkValue;
    const char* captions[3];  // insert, change, delete
};

extern const CalcRegisterSpec kMemoriesRegister;
extern const CalcRegisterSpec kForexRegister;

std::unique_ptr<WindowController> makeCalcRegisterBrowse(const CalcRegisterSpec& spec);
std::unique_ptr<WindowController> makeCalcRegisterForm(const CalcRegisterSpec& spec);

} // namespace ven
