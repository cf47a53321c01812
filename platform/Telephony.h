// Telephony: placing a call through the desktop. The real telephony hands a
// "tel:" address to the desktop through the shell, which tells the user when
// no program handles "tel:"; tests put a fake in its place.
//
// GUI thread only.
#pragma once

#include <QString>

#include <vector>

namespace ven {

// One call as the caller asks for it.
struct PhoneCall {
    QString destination;  // the number to dial
    QString application;  // who asks (the user)
    QString calledParty;  // the name of the one called
    QString comment;
};

class Telephony {
public:
    virtual ~Telephony() = default;
    // Places the call; false when it could not be handed over.
    virtual bool makeCall(const PhoneCall& call) = 0;
};

// The telephony in use; setTelephony(nullptr) restores the desktop's.
Telephony& telephony();
void setTelephony(Telephony* t);

// A telephony that records the calls asked of it.
class FakeTelephony : public Telephony {
public:
    bool makeCall(const PhoneCall& call) override
    {
        calls.push_back(call);
        return result;
    }
    std::vector<PhoneCall> calls;
    bool result = true;
};

} // namespace ven
