// stateMachine.h: the engine that runs an agent's state table by events. A handler only requests
// a change (SetState); the engine carries it out after the handler returns, within the same step:
// the old state's exit, then the new state's enter. At most ten changes per step.
#pragma once

#include <cstdint>

enum StateMachineEvent {
    EVENT_Update = 1,
    EVENT_Enter = 3,
    EVENT_Exit = 4,
};

// A message record for events; nothing sends one yet.
class Message {
public:
    Message();
    Message(int a, int b, int c, int d, int e);
    explicit Message(int word0);
    ~Message();

    void SetWord0(int value) { m_word0 = value; }
    void SetWord1(int value) { m_word1 = value; }
    void SetWord2(int value) { m_word2 = value; }
    void SetWord3(int value) { m_word3 = value; }
    void SetWord4(int value) { m_word4 = value; }
    void SetFlag(bool value) { m_flag = value; }

    int m_word0;
    int m_word1;
    int m_word2;
    int m_word3;
    int m_word4;
    bool m_flag;
};

class StateMachine {
public:
    StateMachine();
    explicit StateMachine(std::uint32_t initValue);
    ~StateMachine();

    // The agent's state table: handles one event for the given state (not necessarily the
    // current one) and returns whether that state handles the event.
    virtual bool States(int event, Message* message, int state) = 0;

    void Initialize();  // enters the current state; once, before the first Update
    void Update();
    void Process(int event, Message* message);
    // Requests a change; the last request before it is carried out wins.
    void SetState(int state);

    std::uint32_t m_initValue;
    int m_currentState;
    int m_nextState;
    bool m_stateChange;
    std::uint32_t m_extra0;
    std::uint32_t m_extra1;
};
