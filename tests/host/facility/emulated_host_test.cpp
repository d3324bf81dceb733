// The emulated host, driven by a component written for these tests: calls
// never nest, caused notifications arrive after the call in order, replies
// follow the hand-back rule, and every protocol break is flagged, not crashed
// on.
#include "emulated_host.h"

#include "debug_sink.h"
#include "notify_records.h"
#include "vrel_client_callback.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <ostream>

namespace {

// What the test component saw of one notification.
struct seen_notification {
    int type;
    std::string what;
};

// What the test component does; set by each test before the factory runs.
struct component_script {
    std::function<void(client_host*)> onCreate = [](client_host*) {};
    std::function<char*(client_host*, void*, int)> onNotify = [](client_host*, void*, int) {
        return static_cast<char*>(nullptr);
    };
    std::function<void(client_host*)> onDestroy = [](client_host* host) { host->send("AS", 0); };

    std::vector<seen_notification> seen;
    bool inside = false;
    bool nested = false;
};

component_script* script = nullptr;

class test_component final : public vrel_client_callback {
public:
    explicit test_component(client_host* host) : host_(host) {
        enter();
        script->onCreate(host_);
        script->inside = false;
    }
    ~test_component() override {
        enter();
        script->onDestroy(host_);
        script->inside = false;
    }
    char* notify(void* data, int type) override {
        enter();
        script->seen.push_back({type, describe(data, type)});
        char* result = script->onNotify(host_, data, type);
        script->inside = false;
        return result;
    }

private:
    static void enter() {
        if (script->inside) {
            script->nested = true;
        }
        script->inside = true;
    }
    static std::string describe(void* data, int type) {
        switch (type) {
        case vrel_notify_route_status: {
            const auto* r = static_cast<route_status_record*>(data);
            return std::to_string(r->device) + " " + std::to_string(r->index) + " " +
                   std::to_string(r->value);
        }
        case vrel_notify_button: {
            const auto* b = static_cast<button_record*>(data);
            std::string text = std::string(b->panel) + " " + b->control + " " + b->command->command;
            for (int i = 0; i < b->command->partCount; ++i) {
                text += std::string(".") + b->command->parts[i];
            }
            return text + "=" + b->command->value;
        }
        case vrel_notify_parent_command:
            return static_cast<const char*>(data);
        case vrel_notify_timer:
            return std::to_string(reinterpret_cast<intptr_t>(data));
        default:
            return std::string();
        }
    }

    client_host* host_;
};

vrel_client_callback* make_test_component(client_host* host, const char*) {
    return new test_component(host);
}

class EmulatedHost : public testing::Test {
protected:
    void SetUp() override { script = &script_; }
    void TearDown() override {
        host_.destroy();
        EXPECT_FALSE(script_.nested) << "the host called notify inside a call";
        script = nullptr;
    }

    void create() {
        std::string error;
        ASSERT_TRUE(host_.create(make_test_component, "data", error)) << error;
    }

    // Creates a component that shows the test panel, then runs `commands`
    // (as sends from inside a parent command).
    void createWithPanel() {
        script_.onCreate = [](client_host* host) {
            host->send("PS '1' 'data/test_panel.vrel_ui'", 0);
        };
        create();
    }

    void sendDuringNotify(std::function<void(client_host*)> commands) {
        script_.onNotify = [commands](client_host* host, void*, int type) {
            if (type == vrel_notify_parent_command) {
                commands(host);
            }
            return static_cast<char*>(nullptr);
        };
        bool replied = false;
        std::string reply;
        host_.parentCommand("go", replied, reply);
    }

    std::vector<std::string> flagged(traffic_kind kind) const {
        std::vector<std::string> texts;
        for (const traffic_entry& e : log_.kept()) {
            if (e.kind == kind) {
                texts.push_back(e.text);
            }
        }
        return texts;
    }

    bool flaggedWith(traffic_kind kind, const std::string& piece) const {
        for (const std::string& text : flagged(kind)) {
            if (text.find(piece) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> seenOfType(int type) const {
        std::vector<std::string> texts;
        for (const seen_notification& n : script_.seen) {
            if (n.type == type) {
                texts.push_back(n.what);
            }
        }
        return texts;
    }

    component_script script_;
    traffic_log log_;
    emulated_host host_{log_};
};

TEST_F(EmulatedHost, StatusesCausedDuringConstructionArriveAfterItInOrder) {
    host_.presetCrosspoint(7, 2, 20);
    script_.onCreate = [](client_host* host) {
        host->send("RR 7 1 3", 0);
        host->send("RP 7 1 3", 0);
    };
    create();
    EXPECT_EQ(seenOfType(vrel_notify_route_status),
              (std::vector<std::string>{"7 1 -1", "7 2 20", "7 3 -1"}));
}

TEST_F(EmulatedHost, RouteStatusAfterRcWaitsForTheCallToReturn) {
    script_.onCreate = [](client_host* host) { host->send("RR 7 1 16", 0); };
    create();
    sendDuringNotify([](client_host* host) {
        host->send("RC 7 5 2 ',' 1", 0);
        host->send("RC 7 6 20 ',' 1", 0); // not registered: no status
        host->send("RC 7 6 3 ',' 1", 0);
        // Nothing has been delivered while this call runs.
        EXPECT_EQ(script->seen.size(), 1u);
    });
    EXPECT_EQ(seenOfType(vrel_notify_route_status), (std::vector<std::string>{"7 2 5", "7 3 6"}));
    EXPECT_EQ(host_.routers().crosspoint(7, 20), 6);
}

struct reply_case {
    const char* name;
    const char* command;
    int handBacks;
    const char* problem; // null: none expected
};

// Cases print as their name: the default byte dump reads padding.
void PrintTo(const reply_case& c, std::ostream* out) {
    *out << c.name;
}

class ReplyProtocol : public EmulatedHost, public testing::WithParamInterface<reply_case> {};

TEST_P(ReplyProtocol, QueryRepliesComeBackExactlyOnce) {
    const reply_case& c = GetParam();
    createWithPanel();
    sendDuringNotify([&c](client_host* host) {
        char* reply = host->send(c.command, 0);
        for (int i = 0; i < c.handBacks; ++i) {
            host->send(reply, 5);
        }
    });
    if (c.problem == nullptr) {
        EXPECT_TRUE(flagged(traffic_kind::problem).empty()) << flagged(traffic_kind::problem)[0];
    } else {
        EXPECT_TRUE(flaggedWith(traffic_kind::problem, c.problem)) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyProtocol,
    testing::Values(reply_case{"TG once", "TG '1' 'Label' 'text'", 1, nullptr},
                    reply_case{"XI once", "XI '1' 'alm_'", 1, nullptr},
                    reply_case{"TG never", "TG '1' 'Label' 'text'", 0,
                               "the reply to \"TG '1' 'Label' 'text'\" was not handed back"},
                    reply_case{"XI twice", "XI '1' 'alm_'", 2, "a second time"},
                    reply_case{"PS handed back", "PS '1' 'data/test_panel.vrel_ui'", 1,
                               "only the replies to TG and XI come back"}),
    [](const testing::TestParamInfo<reply_case>& tested) {
        std::string name = tested.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST_F(EmulatedHost, HandingBackAPointerNeverGivenOutIsFlagged) {
    create();
    char foreign[] = "x";
    sendDuringNotify([&foreign](client_host* host) { host->send(foreign, 5); });
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "never gave out"));
}

TEST_F(EmulatedHost, QueriesAnswerFromThePanel) {
    createWithPanel();
    std::vector<std::string> answers;
    sendDuringNotify([&answers](client_host* host) {
        for (const char* query :
             {"TG '1' 'Label' 'text'", "TG '1' 'Label' 'all'", "TG '1' 'Label' 'nope'",
              "XI '1' 'alm_'", "XI '1' '*alm*'", "XI '1' 'none'"}) {
            char* reply = host->send(query, 0);
            answers.push_back(reply != nullptr ? reply : "(null)");
            host->send(reply, 5);
        }
    });
    EXPECT_EQ(answers, (std::vector<std::string>{"text=idle", "text=idle,colour=grey", "nope=",
                                                 "alm_1,alm_2", "alm_1,alm_2,other_alm", ""}));
    EXPECT_TRUE(flagged(traffic_kind::problem).empty());
}

TEST_F(EmulatedHost, TextPutChangesTheControlOrIsFlagged) {
    createWithPanel();
    sendDuringNotify([](client_host* host) {
        host->send("TP 'text=busy | now' '1' 'Label'", 0);
        host->send("TP 'text=x' '1' 'Nope'", 0);
        host->send("TP 'text=x' '2' 'Label'", 0);
    });
    EXPECT_EQ(*host_.findPanel("1")->find("Label")->property("text"), "busy | now");
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "panel 1 has no control 'Nope'"));
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "panel 2 is not shown"));
}

TEST_F(EmulatedHost, MalformedTextsAreFlaggedAndTheHostGoesOn) {
    createWithPanel();
    sendDuringNotify([](client_host* host) {
        EXPECT_EQ(host->send("TP 'text=x' '1' 'Label", 0), nullptr);
        EXPECT_EQ(host->send("QQ 1 2", 0), nullptr);
        EXPECT_EQ(host->send(nullptr, 0), nullptr);
        host->send("TP 'text=after' '1' 'Label'", 0);
    });
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "unterminated quote"));
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "unknown command word 'QQ'"));
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "null command text"));
    EXPECT_EQ(*host_.findPanel("1")->find("Label")->property("text"), "after");
}

TEST_F(EmulatedHost, MissingPanelFileIsFlaggedAndAnsweredWithNull) {
    char* reply = reinterpret_cast<char*>(1);
    script_.onCreate = [&reply](client_host* host) {
        reply = host->send("PS '1' 'data/no_such_panel.vrel_ui'", 0);
    };
    create();
    EXPECT_EQ(reply, nullptr);
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "no_such_panel.vrel_ui': no such file"));
}

TEST_F(EmulatedHost, TimersExpireInOrderUntilStopped) {
    script_.onCreate = [](client_host* host) {
        host->send("ET 1 300", 0);
        host->send("ET 2 500", 0);
    };
    int expiriesOfOne = 0;
    script_.onNotify = [&expiriesOfOne](client_host* host, void* data, int type) {
        if (type == vrel_notify_timer && reinterpret_cast<intptr_t>(data) == 1 &&
            ++expiriesOfOne == 2) {
            host->send("ET 1", 0);
        }
        return static_cast<char*>(nullptr);
    };
    create();
    host_.advance(1000);
    EXPECT_EQ(seenOfType(vrel_notify_timer), (std::vector<std::string>{"1", "2", "1", "2"}));
    EXPECT_EQ(host_.now(), 1000);
    EXPECT_FALSE(host_.timers().isRunning(1));
    EXPECT_TRUE(host_.timers().isRunning(2));
}

TEST_F(EmulatedHost, StoppingAnUnknownTimerIsReported) {
    create();
    sendDuringNotify([](client_host* host) { host->send("ET 3", 0); });
    EXPECT_TRUE(flaggedWith(traffic_kind::note, "stopping timer 3, which is not running"));
}

TEST_F(EmulatedHost, ParentReplyIsShownThenReleasedOnce) {
    create();
    static char answer[] = "CueRouter=7";
    script_.onNotify = [](client_host*, void*, int type) {
        return type == vrel_notify_parent_command ? answer : static_cast<char*>(nullptr);
    };
    bool replied = false;
    std::string reply;
    host_.parentCommand("return=all", replied, reply);
    EXPECT_TRUE(replied);
    EXPECT_EQ(reply, "CueRouter=7");
    ASSERT_EQ(script_.seen.size(), 2u);
    EXPECT_EQ(script_.seen[0].what, "return=all");
    EXPECT_EQ(script_.seen[1].type, vrel_notify_release);
}

// Test that held replies are released only when asked, oldest first, each
// once; that a text returned while the host still holds it is flagged and not
// held twice; and that destroying the component releases what is held.
TEST_F(EmulatedHost, HeldRepliesAreReleasedInOrderAndNeverTwice) {
    create();
    static char first[] = "first";
    static char second[] = "second";
    std::vector<char*> answers = {first, second, first};
    std::vector<void*> released;
    script_.onNotify = [&answers, &released](client_host*, void* data, int type) {
        if (type == vrel_notify_release) {
            released.push_back(data);
        }
        if (type != vrel_notify_parent_command || answers.empty()) {
            return static_cast<char*>(nullptr);
        }
        char* answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    bool replied = false;
    std::string reply;
    host_.holdReplies();
    host_.parentCommand("a", replied, reply);
    host_.parentCommand("b", replied, reply);
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(host_.heldReplies(), 2u);
    EXPECT_FALSE(flaggedWith(traffic_kind::problem, "[answer-not-held]"));
    // The first text again, while the host still holds it.
    host_.parentCommand("c", replied, reply);
    EXPECT_FALSE(replied);
    EXPECT_TRUE(flaggedWith(traffic_kind::problem,
                            "the reply to the parent command 'c' is a text the host still holds "
                            "from an earlier reply [answer-not-held]"));
    EXPECT_EQ(host_.heldReplies(), 2u);
    host_.releaseReplies();
    EXPECT_EQ(released, (std::vector<void*>{first, second}));
    EXPECT_EQ(host_.heldReplies(), 0u);
    // Released at once again; a text released may come back.
    answers = {first};
    host_.parentCommand("d", replied, reply);
    EXPECT_TRUE(replied);
    EXPECT_EQ(released.size(), 3u);

    host_.holdReplies();
    answers = {second};
    host_.parentCommand("e", replied, reply);
    EXPECT_EQ(released.size(), 3u);
    host_.destroy();
    EXPECT_EQ(released.size(), 4u);
    EXPECT_EQ(released.back(), second);
    EXPECT_EQ(flagged(traffic_kind::problem).size(), 1u);
}

TEST_F(EmulatedHost, ButtonCarriesTheControlsOwnCommand) {
    createWithPanel();
    std::string error;
    ASSERT_TRUE(host_.press("1", "Go", error)) << error;
    EXPECT_EQ(seenOfType(vrel_notify_button), (std::vector<std::string>{"1 Go alarm.a.b=1"}));
    EXPECT_FALSE(host_.press("1", "Nope", error));
    EXPECT_FALSE(host_.press("1", "Label", error));
    EXPECT_FALSE(host_.press("2", "Go", error));
}

// Test that a send while the host is not calling the component is a breach
// of the inside-a-call rule, and that the same send inside a call is not.
TEST_F(EmulatedHost, ASendOutsideACallIsFlagged) {
    client_host* kept = nullptr;
    script_.onCreate = [&kept](client_host* host) {
        kept = host;
        host->send("RR 7 1 16", 0);
    };
    create();
    EXPECT_FALSE(flaggedWith(traffic_kind::problem, "[inside-a-call]"));
    ASSERT_NE(kept, nullptr);
    kept->send("RR 7 1 16", 0);
    EXPECT_TRUE(flaggedWith(traffic_kind::problem,
                            "called send while the host was not calling it [inside-a-call]"));
    // Refused: neither carried out nor judged further (the panel is not
    // shown, which would otherwise be a breach of its own).
    EXPECT_EQ(kept->send("PS '1' 'data/test_panel.vrel_ui'", 0), nullptr);
    EXPECT_EQ(host_.findPanel("1"), nullptr);
    kept->send("TP 'text=x' '2' 'Label'", 0);
    EXPECT_EQ(flagged(traffic_kind::problem).size(), 3u);
    EXPECT_FALSE(flaggedWith(traffic_kind::problem, "[panel-shown]"));
}

TEST_F(EmulatedHost, EndOfLifeProtocol) {
    script_.onCreate = [](client_host* host) {
        host->send("AS", 0);
        host->reserved();
    };
    script_.onDestroy = [](client_host*) {};
    create();
    host_.destroy();
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "sent \"AS\" while it was not being destroyed"));
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "first entry of the host's table"));
    EXPECT_TRUE(flaggedWith(traffic_kind::problem, "destroyed without sending \"AS\""));
}

TEST_F(EmulatedHost, TimersPanelsAndRegistrationsEndWithTheComponent) {
    script_.onCreate = [](client_host* host) {
        host->send("PS '1' 'data/test_panel.vrel_ui'", 0);
        host->send("RR 7 1 16", 0);
        host->send("ET 1 100", 0);
    };
    create();
    host_.destroy();
    script_.onCreate = [](client_host*) {};
    script_.seen.clear();
    create();
    host_.advance(1000);
    host_.route(7, 5, 3, false);
    EXPECT_TRUE(script_.seen.empty());
    EXPECT_EQ(host_.findPanel("1"), nullptr);
    EXPECT_EQ(host_.routers().crosspoint(7, 3), 5);
}

TEST_F(EmulatedHost, HeldStatusesArriveWhenReleased) {
    script_.onCreate = [](client_host* host) { host->send("RR 7 1 16", 0); };
    create();
    host_.setFault(7, status_fault::hold, 0);
    host_.route(7, 5, 3, false);
    host_.route(7, 6, 4, false);
    EXPECT_TRUE(seenOfType(vrel_notify_route_status).empty());
    host_.releaseHeld(7);
    EXPECT_EQ(seenOfType(vrel_notify_route_status), (std::vector<std::string>{"7 3 5", "7 4 6"}));
    host_.route(7, 9, 9, true);
    EXPECT_EQ(seenOfType(vrel_notify_route_status).size(), 2u);
    EXPECT_EQ(host_.routers().crosspoint(7, 9), 9);
}

TEST_F(EmulatedHost, DelayedStatusesArriveOnTheClock) {
    script_.onCreate = [](client_host* host) { host->send("RR 7 1 16", 0); };
    create();
    host_.setFault(7, status_fault::delay, 200);
    host_.route(7, 5, 3, false);
    host_.advance(199);
    EXPECT_TRUE(seenOfType(vrel_notify_route_status).empty());
    host_.advance(1);
    EXPECT_EQ(seenOfType(vrel_notify_route_status), (std::vector<std::string>{"7 3 5"}));
}

TEST_F(EmulatedHost, DebugOutputIsCapturedBetweenCommands) {
    if (!host_.capturesDebug()) {
        GTEST_SKIP() << "debug output cannot be captured here";
    }
    script_.onCreate = [](client_host* host) {
        vrel_debug_sink("before\n");
        host->send("ET 1 10", 0);
        vrel_debug_sink("after");
    };
    create();
    std::vector<std::string> order;
    for (const traffic_entry& e : log_.kept()) {
        if (e.kind == traffic_kind::debug || e.kind == traffic_kind::out) {
            order.push_back(e.text);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"before\n", "ET 1 10", "after"}));
}

} // namespace

namespace {

// A take by the component over a crosspoint another operator made takes it
// from them: the host says so, once per such route, and not for its own.
TEST_F(EmulatedHost, ARouteOverAnotherPanelsCrosspointIsNoted) {
    create();
    host_.route(7, 5, 3, false); // another panel: source 5 to destination 3
    sendDuringNotify([](client_host* host) {
        host->send("RC 7 9 3 ',' 1", 0); // replaces it
        host->send("RC 7 8 3 ',' 1", 0); // replaces the component's own
    });
    EXPECT_EQ(
        flagged(traffic_kind::note),
        (std::vector<std::string>{
            "RC on router 7 replaces source 5 at destination 3, which another panel routed"}));
    host_.route(7, 8, 4, true); // behind the back, the same source the component routes
    sendDuringNotify([](client_host* host) { host->send("RC 7 8 4 ',' 1", 0); });
    EXPECT_EQ(flagged(traffic_kind::note).size(), 1u);
}

// The route statuses waiting for the component are bounded: one call that
// polls far more than a host keeps is flagged under status-limit, and only
// as many as are kept arrive.
TEST_F(EmulatedHost, TheStatusesOneCallCausesAreBounded) {
    create();
    sendDuringNotify([](client_host* host) {
        for (int i = 0; i < 200; ++i) {
            host->send("RP 7 1 1024", 0);
        }
    });
    EXPECT_EQ(seenOfType(vrel_notify_route_status).size(),
              static_cast<size_t>(max_caused_statuses));
    EXPECT_EQ(flagged(traffic_kind::problem),
              (std::vector<std::string>{"the commands of one call cause more than 100000 route "
                                        "statuses; the host drops the rest [status-limit]"}));
}

// Statuses that each cause more, within the bound of one call, still fill
// the queue only up to its bound: the host flags it once and drops the rest.
TEST_F(EmulatedHost, StatusesCausingMoreFillTheQueueOnlyToItsBound) {
    script_.onCreate = [](client_host* host) { host->send("RP 7 1 1024", 0); };
    int answered = 0;
    script_.onNotify = [&answered](client_host* host, void*, int type) {
        if (type == vrel_notify_route_status && answered < 200) {
            ++answered;
            host->send("RP 7 1 1024", 0);
        }
        return static_cast<char*>(nullptr);
    };
    create();
    const size_t delivered = seenOfType(vrel_notify_route_status).size();
    EXPECT_LT(delivered, size_t{1024} * 201);
    EXPECT_GE(delivered, static_cast<size_t>(max_caused_statuses));
    const std::vector<std::string> problems = flagged(traffic_kind::problem);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("a route status caused now is dropped"), std::string::npos)
        << problems[0];
    EXPECT_NE(problems[0].find("[status-limit]"), std::string::npos) << problems[0];
}

// Many timers due at once fire in the order of their ids, and finding each
// next one does not scan them all (a scan per expiry took seconds).
TEST_F(EmulatedHost, ManyTimersFireInIdOrderWithoutAScanEach) {
    constexpr int count = 40000;
    script_.onCreate = [](client_host* host) {
        for (int id = count; id >= 1; --id) {
            host->send(("ET " + std::to_string(id) + " 1000").c_str(), 0);
        }
    };
    create();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(host_.advance(1000));
    const auto took = std::chrono::steady_clock::now() - started;
    const std::vector<std::string> fired = seenOfType(vrel_notify_timer);
    ASSERT_EQ(fired.size(), static_cast<size_t>(count));
    for (int id = 1; id <= count; ++id) {
        ASSERT_EQ(fired[static_cast<size_t>(id - 1)], std::to_string(id));
    }
    EXPECT_LT(took, std::chrono::seconds(5))
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
}

// The virtual clock never wraps round: an advance past its end, or back,
// is refused and moves nothing.
TEST_F(EmulatedHost, AnAdvancePastTheClocksEndIsRefused) {
    create();
    ASSERT_TRUE(host_.advance(emulated_host::clockEnd - 10));
    EXPECT_FALSE(host_.advance(11));
    EXPECT_FALSE(host_.advance(INT64_MAX));
    EXPECT_FALSE(host_.advance(-1));
    EXPECT_EQ(host_.now(), emulated_host::clockEnd - 10);
    EXPECT_TRUE(host_.advance(10));
    EXPECT_EQ(host_.now(), emulated_host::clockEnd);
}

} // namespace
