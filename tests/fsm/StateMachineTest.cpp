#include <functional>
#include <map>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "PlatformFixtures.h"
#include "stateMachine.h"

namespace {

// An agent whose table logs every delivery and runs a scripted action per (event, state).
class ScriptedAgent : public StateMachine {
public:
    using Action = std::function<void(ScriptedAgent&)>;

    bool States(int event, Message* message, int state) override {
        log += Name(event) + std::to_string(state) + (message ? "!" : "") + " ";
        const auto found = script.find({event, state});
        if (found != script.end()) found->second(*this);
        return true;
    }

    void On(int event, int state, Action action) { script[{event, state}] = std::move(action); }

    static std::string Name(int event) {
        switch (event) {
            case EVENT_Update: return "update";
            case EVENT_Enter: return "enter";
            case EVENT_Exit: return "exit";
        }
        return "event" + std::to_string(event);
    }

    std::string log;
    std::map<std::pair<int, int>, Action> script;
};

ScriptedAgent::Action Request(int state) {
    return [state](ScriptedAgent& agent) { agent.SetState(state); };
}

TEST(StateMachine, StartsInStateZeroAndInitializeEntersIt) {
    ScriptedAgent agent;
    EXPECT_EQ(0, agent.m_currentState);
    EXPECT_FALSE(agent.m_stateChange);
    agent.Initialize();
    EXPECT_EQ("enter0 ", agent.log);
}

TEST(StateMachine, ChangesAreCarriedOutWithinTheStep) {
    struct Case {
        int line;
        int current;
        std::vector<int> requests;  // made by the update handler, in order
        std::string log;
        int endState;
    };
    const Case kCases[] = {
        {__LINE__, 1, {5}, "update1 exit1 enter5 ", 5},
        {__LINE__, 1, {2, 6}, "update1 exit1 enter6 ", 6},  // the last request wins
        {__LINE__, 3, {3}, "update3 exit3 enter3 ", 3},     // the current state is a change too
        {__LINE__, 4, {}, "update4 ", 4},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        ScriptedAgent agent;
        agent.m_currentState = c.current;
        agent.On(EVENT_Update, c.current, [&c](ScriptedAgent& a) {
            for (int state : c.requests) a.SetState(state);
        });
        agent.Update();
        EXPECT_EQ(c.log, agent.log);
        EXPECT_EQ(c.endState, agent.m_currentState);
        EXPECT_FALSE(agent.m_stateChange);
    }
}

TEST(StateMachine, EnterHandlerRequestIsCarriedOutInTheSameCall) {
    ScriptedAgent agent;
    agent.On(EVENT_Enter, 0, Request(2));
    agent.Initialize();
    EXPECT_EQ("enter0 exit0 enter2 ", agent.log);
    EXPECT_EQ(2, agent.m_currentState);
}

TEST(StateMachine, ExitHandlerRequestReplacesThePendingOneAndIsChangedAgain) {
    ScriptedAgent agent;
    agent.m_currentState = 1;
    agent.On(EVENT_Update, 1, Request(5));
    agent.On(EVENT_Exit, 1, Request(7));
    agent.Update();
    // State 7 is entered; its own pending flag makes it exit and enter once more.
    EXPECT_EQ("update1 exit1 enter7 exit7 enter7 ", agent.log);
    EXPECT_EQ(7, agent.m_currentState);
    EXPECT_FALSE(agent.m_stateChange);
}

TEST(StateMachine, TenthChangeReportsAndTheEleventhStaysPending) {
    test::AssertCapture capture;
    ScriptedAgent agent;
    for (int state = 0; state <= 10; ++state) agent.On(EVENT_Enter, state, Request(state + 1));
    agent.On(EVENT_Update, 0, Request(1));
    agent.Update();

    EXPECT_EQ(10, agent.m_currentState);  // ten changes: 0 -> 1 -> ... -> 10
    EXPECT_TRUE(agent.m_stateChange);     // the request made by entering 10
    EXPECT_EQ(11, agent.m_nextState);
    ASSERT_EQ(1u, capture.reports.size());
    EXPECT_EQ(
        "safetyCount > 0 && \"StateMachine::Process - States are flip-flopping in an infinite "
        "loop.\"",
        capture.reports[0].expression);
    EXPECT_NE(std::string::npos, capture.reports[0].file.find("stateMachine"));

    // The next step delivers its own event to state 10 first, then carries the change out.
    agent.log.clear();
    agent.script.clear();
    agent.Update();
    EXPECT_EQ("update10 exit10 enter11 ", agent.log);
    EXPECT_EQ(1u, capture.reports.size());
}

TEST(StateMachine, RequestOutsideAHandlerWaitsForTheNextStep) {
    ScriptedAgent agent;
    agent.m_currentState = 2;
    agent.SetState(4);
    EXPECT_EQ("", agent.log);
    EXPECT_EQ(2, agent.m_currentState);
    agent.Update();
    EXPECT_EQ("update2 exit2 enter4 ", agent.log);
}

TEST(Message, ConstructorsFillTheirWords) {
    const Message byDefault;
    EXPECT_EQ(0, byDefault.m_word0);
    EXPECT_EQ(-1, byDefault.m_word3);
    const Message five(1, 2, 3, 4, 5);
    EXPECT_EQ(1, five.m_word4);  // the first argument goes to word 4
    EXPECT_EQ(2, five.m_word0);
    EXPECT_EQ(3, five.m_word1);
    EXPECT_EQ(4, five.m_word2);
    EXPECT_EQ(5, five.m_word3);
    EXPECT_FALSE(five.m_flag);
    EXPECT_EQ(9, Message(9).m_word0);
}

}  // namespace
