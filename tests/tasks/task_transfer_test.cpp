// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "tasks/task_transfer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using tarvok::tasks::TaskBlock;
using tarvok::tasks::TaskLinkPort;
using tarvok::tasks::TaskTransfer;

namespace {

// Records every call in one log, so the order of hold, wait, write and
// resume is what is checked.
struct FakePort : TaskLinkPort {
    std::vector<std::string>& log;
    int answer = 0;
    bool throwOnWrite = false;
    std::vector<TaskBlock> written;

    explicit FakePort(std::vector<std::string>& l) : log(l) {}
    void holdPolling() override { log.push_back("hold"); }
    void resumePolling() override { log.push_back("resume"); }
    int writeTaskBlock(const TaskBlock& block) override
    {
        log.push_back("write");
        written.push_back(block);
        if (throwOnWrite)
            throw std::runtime_error("port gone");
        return answer;
    }
};

TaskBlock filled(std::uint8_t value)
{
    TaskBlock b;
    b.fill(value);
    return b;
}

class TransferFixture : public testing::Test {
protected:
    std::vector<std::string> log;
    FakePort port{log};
    TaskBlock snapshot = filled(7);
    TaskTransfer transfer{port, snapshot,
                          [this](int ms) { log.push_back("wait " + std::to_string(ms)); }};
    std::vector<int> reported;

    TaskTransfer::Result run(bool yes)
    {
        return transfer.run(
            [this, yes] {
                log.push_back("ask");
                return yes;
            },
            [this](int code) {
                log.push_back("report");
                reported.push_back(code);
            });
    }
};

TEST_F(TransferFixture, DeclinedSendsNothingAndLeavesPollingAlone)
{
    EXPECT_FALSE(run(false).confirmed);
    EXPECT_EQ(log, std::vector<std::string>{"ask"});
    EXPECT_EQ(snapshot, filled(7));
}

struct CodeCase {
    int code;
    bool snapshotReplaced;
    bool reported;
};

class TransferAnswer : public TransferFixture, public testing::WithParamInterface<CodeCase> {};

TEST_P(TransferAnswer, HoldsWaitsWritesZerosResumesThenReports)
{
    const CodeCase c = GetParam();
    port.answer = c.code;

    const TaskTransfer::Result result = run(true);

    EXPECT_TRUE(result.confirmed);
    EXPECT_EQ(result.exchangeError, c.code);
    std::vector<std::string> expected{"ask", "hold", "wait 600", "write", "resume"};
    if (c.reported)
        expected.push_back("report");
    EXPECT_EQ(log, expected);
    ASSERT_EQ(port.written.size(), 1u);
    EXPECT_EQ(port.written[0], TaskBlock{});
    EXPECT_EQ(snapshot, c.snapshotReplaced ? TaskBlock{} : filled(7));
    EXPECT_EQ(reported, c.reported ? std::vector<int>{c.code} : std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(ExchangeResults, TransferAnswer,
                         testing::Values(CodeCase{0, true, false}, CodeCase{1, false, true},
                                         CodeCase{2, false, true}, CodeCase{3, false, false},
                                         CodeCase{4, false, false}, CodeCase{5, false, true},
                                         CodeCase{6, false, true}, CodeCase{255, false, false}),
                         [](const testing::TestParamInfo<CodeCase>& info) {
                             return "Code" + std::to_string(info.param.code);
                         });

TEST_F(TransferFixture, ResumesWhenTheWriteThrows)
{
    port.throwOnWrite = true;
    EXPECT_THROW(run(true), std::runtime_error);
    EXPECT_EQ(log, (std::vector<std::string>{"ask", "hold", "wait 600", "write", "resume"}));
    EXPECT_EQ(snapshot, filled(7));
}

TEST_F(TransferFixture, EveryTransferSendsAClearedBlock)
{
    // A previous successful transfer and a later one both send zeros; the
    // block is cleared before each write, not once.
    run(true);
    snapshot = filled(9);
    port.answer = 5;
    run(true);
    ASSERT_EQ(port.written.size(), 2u);
    EXPECT_EQ(port.written[1], TaskBlock{});
    EXPECT_EQ(snapshot, filled(9));
}

} // namespace
