#include "stateMachine.h"

#include <windows.h>

Message::Message() : m_word0(0), m_word1(0), m_word2(0), m_word3(-1), m_word4(0) {}

Message::Message(int a, int b, int c, int d, int e) {
    SetWord4(a);
    SetWord0(b);
    SetWord1(c);
    SetWord2(d);
    SetWord3(e);
    SetFlag(false);
}

Message::Message(int word0) : m_word0(word0) {}

Message::~Message() {}

StateMachine::StateMachine() : m_currentState(0), m_nextState(0), m_stateChange(false) {}

StateMachine::StateMachine(std::uint32_t initValue)
    : m_initValue(initValue),
      m_currentState(0),
      m_nextState(0),
      m_stateChange(false),
      m_extra0(0),
      m_extra1(0) {}

StateMachine::~StateMachine() {}

void StateMachine::Initialize() { Process(EVENT_Enter, nullptr); }

void StateMachine::Update() { Process(EVENT_Update, nullptr); }

void StateMachine::SetState(int state) {
    m_stateChange = true;
    m_nextState = state;
}

void StateMachine::Process(int event, Message* message) {
    States(event, message, m_currentState);

    int safetyCount = 10;
    while (m_stateChange) {
        if (--safetyCount < 0) break;  // the change stays pending for the next step
        if (safetyCount == 0) {
            _assert(
                "safetyCount > 0 && \"StateMachine::Process - States are flip-flopping in an "
                "infinite loop.\"",
                __FILE__, __LINE__);
        }
        m_stateChange = false;
        States(EVENT_Exit, nullptr, m_currentState);
        m_currentState = m_nextState;  // read after the exit handler, which may have changed it
        States(EVENT_Enter, nullptr, m_currentState);
    }
}
