// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/alarm_evaluator.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using tarvok::alarms::AlarmBytes;
using tarvok::alarms::AlarmEvaluator;
using tarvok::alarms::AlarmEvent;

namespace tarvok::alarms {
void PrintTo(const AlarmEvent& e, std::ostream* os)
{
    *os << (e.red ? "red " : "black ") << '"' << e.text.toStdString() << '"';
}
} // namespace tarvok::alarms

namespace {

AlarmEvent red(const char* text)
{
    return {QString::fromUtf8(text), true};
}
AlarmEvent black(const char* text)
{
    return {QString::fromUtf8(text), false};
}

// One good read and the events it must produce, in order.
struct Read {
    AlarmBytes bytes;
    std::vector<AlarmEvent> events;
};

struct SequenceCase {
    std::string name;
    std::vector<Read> reads;
};

class AlarmSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(AlarmSequence, ProducesTheEventsInOrder)
{
    AlarmEvaluator evaluator;
    int n = 0;
    for (const Read& read : GetParam().reads) {
        SCOPED_TRACE("read " + std::to_string(++n));
        EXPECT_EQ(evaluator.evaluate(read.bytes), read.events);
        EXPECT_EQ(evaluator.previous(), read.bytes);
        EXPECT_TRUE(evaluator.firstPassDone());
    }
}

const AlarmBytes zero{};

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, AlarmSequence,
    testing::Values(
        SequenceCase{"FirstReadRaisesOnlyTopOnLast",
                     {{{0x81, 0, 0, 0, 0, 0},
                       {red("Неисправность тензопреобразователя 1"), red("Останов")}}}},
        SequenceCase{"FirstReadAllZeroNothing", {{zero, {}}}},
        SequenceCase{"FirstReadProducesNoClears", {{zero, {}}, {zero, {}}}},
        SequenceCase{"StopToRunIsBlackPusk",
                     {{{0x80, 0, 0, 0, 0, 0}, {red("Останов")}}, {zero, {black("ПУСК")}}}},
        SequenceCase{
            "UnevaluatedBitsStoredButSilent",
            {{zero, {}},
             {{0, 0, 0, 0, 0, 0xE0}, {}},
             {{0, 0, 0, 0, 0, 0xE4}, {red("Нет связи с панелью оператора")}},
             {{0, 0, 0, 0, 0, 0x04}, {}},
             {{0, 0, 0, 0, 0, 0x00}, {black("УСТРАНЕНО отсутствие связи с панелью оператора")}}}},
        SequenceCase{
            "TwoBitsOfOneByteHigherLast",
            {{zero, {}},
             {{0, 0x41, 0, 0, 0, 0},
              {red("Перегруз по весу в дозаторе 1"), red("Нет материала для дозаторов 1-6")}},
             {{0, 0x01 | 0x80, 0, 0, 0, 0},
              {black("УСТРАНЕНО отсутствие материала для дозаторов 1-6"),
               red("Костеризация в дозаторах 1-6")}}}},
        SequenceCase{
            "BytesInOrderRaiseAndClearMixed",
            {{{0, 0, 0, 0x40, 0, 0}, {red("Авария затвора тележки")}},
             {{0x40, 0, 0x80, 0, 0x01, 0x10},
              {red("Заданные уставки ошибочны и не приняты"), red("Авария транспортера сборного"),
               black("УСТРАНЕНА авария затвора тележки"),
               red("Неисправность тезопр. печного бункера 1"), red("Провисание троса скипа")}}}},
        // The evaluation only ever sees good reads: what happened during a
        // link loss is the difference between the reads around it.
        SequenceCase{"LinkLossComparesWithLastGoodRead",
                     {{{0, 0, 0x01, 0, 0, 0}, {red("Ававия вибропитателя затвора 1")}},
                      // lost: 0x01 -> 0x03 -> 0x01 and byte 3 0 -> 0x80 -> 0 unseen
                      {{0, 0, 0x00, 0, 0, 0x08},
                       {black("УСТРАНЕНА ававия вибропитателя затвора 1"),
                        red("Авария механизма подъемника скипового")}}}}),
    [](const testing::TestParamInfo<SequenceCase>& info) { return info.param.name; });

// Every evaluated bit with the texts written out in full, so that a slip in
// a family's number or spelling shows in the row it belongs to.
struct BitCase {
    int alarmByte;
    int bit;
    const char* raise;
    const char* clear;
};

const BitCase bitCases[] = {
    {0, 0, "Неисправность тензопреобразователя 1",
     "УСТРАНЕНА неисправность тензопреобразователя 1"},
    {0, 1, "Неисправность тензопреобразователя 2",
     "УСТРАНЕНА неисправность тензопреобразователя 2"},
    {0, 2, "Неисправность тензопреобразователя 3",
     "УСТРАНЕНА неисправность тензопреобразователя 3"},
    {0, 3, "Неисправность тензопреобразователя 4",
     "УСТРАНЕНА неисправность тензопреобразователя 4"},
    {0, 4, "Неисправность тензопреобразователя 5",
     "УСТРАНЕНА неисправность тензопреобразователя 5"},
    {0, 5, "Неисправность тензопреобразователя 6",
     "УСТРАНЕНА неисправность тензопреобразователя 6"},
    {0, 6, "Заданные уставки ошибочны и не приняты", "Заданные уставки приняты"},
    {0, 7, "Останов", "ПУСК"},
    {1, 0, "Перегруз по весу в дозаторе 1", "УСТРАНЕН перегруз по весу в дозаторе 1"},
    {1, 1, "Перегруз по весу в дозаторе 2", "УСТРАНЕН перегруз по весу в дозаторе 2"},
    {1, 2, "Перегруз по весу в дозаторе 3", "УСТРАНЕН перегруз по весу в дозаторе 3"},
    {1, 3, "Перегруз по весу в дозаторе 4", "УСТРАНЕН перегруз по весу в дозаторе 4"},
    {1, 4, "Перегруз по весу в дозаторе 5", "УСТРАНЕН перегруз по весу в дозаторе 5"},
    {1, 5, "Перегруз по весу в дозаторе 6", "УСТРАНЕН перегруз по весу в дозаторе 6"},
    {1, 6, "Нет материала для дозаторов 1-6", "УСТРАНЕНО отсутствие материала для дозаторов 1-6"},
    {1, 7, "Костеризация в дозаторах 1-6", "УСТРАНЕНА костеризация в дозаторах 1-6"},
    {2, 0, "Ававия вибропитателя затвора 1", "УСТРАНЕНА ававия вибропитателя затвора 1"},
    {2, 1, "Ававия вибропитателя затвора 2", "УСТРАНЕНА ававия вибропитателя затвора 2"},
    {2, 2, "Ававия вибропитателя затвора 3", "УСТРАНЕНА ававия вибропитателя затвора 3"},
    {2, 3, "Ававия вибропитателя затвора 4", "УСТРАНЕНА ававия вибропитателя затвора 4"},
    {2, 4, "Ававия вибропитателя затвора 5", "УСТРАНЕНА ававия вибропитателя затвора 5"},
    {2, 5, "Ававия вибропитателя затвора 6", "УСТРАНЕНА ававия вибропитателя затвора 6"},
    {2, 6, "Авария конвейера промежуточного", "УСТРАНЕНА авария конвейера промежуточного"},
    {2, 7, "Авария транспортера сборного", "УСТРАНЕНА авария транспортера сборного"},
    {3, 0, "Ававия затвора дозатора 1", "УСТРАНЕНА ававия затвора дозатора 1"},
    {3, 1, "Ававия затвора дозатора 2", "УСТРАНЕНА ававия затвора дозатора 2"},
    {3, 2, "Ававия затвора дозатора 3", "УСТРАНЕНА ававия затвора дозатора 3"},
    {3, 3, "Ававия затвора дозатора 4", "УСТРАНЕНА ававия затвора дозатора 4"},
    {3, 4, "Ававия затвора дозатора 5", "УСТРАНЕНА ававия затвора дозатора 5"},
    {3, 5, "Ававия затвора дозатора 6", "УСТРАНЕНА ававия затвора дозатора 6"},
    {3, 6, "Авария затвора тележки", "УСТРАНЕНА авария затвора тележки"},
    {3, 7, "Авария тележки кольцевого хода", "УСТРАНЕНА авария тележки кольцевого хода"},
    {4, 0, "Неисправность тезопр. печного бункера 1",
     "УСТРАНЕНА неисправность тезопр. печного бункера 1"},
    {4, 1, "Неисправность тезопр. печного бункера 2",
     "УСТРАНЕНА неисправность тезопр. печного бункера 2"},
    {4, 2, "Неисправность тезопр. печного бункера 3",
     "УСТРАНЕНА неисправность тезопр. печного бункера 3"},
    {4, 3, "Неисправность тезопр. печного бункера 4",
     "УСТРАНЕНА неисправность тезопр. печного бункера 4"},
    {4, 4, "Неисправность тезопр. печного бункера 5",
     "УСТРАНЕНА неисправность тезопр. печного бункера 5"},
    {4, 5, "Неисправность тезопр. печного бункера 6",
     "УСТРАНЕНА неисправность тезопр. печного бункера 6"},
    {4, 6, "Неисправность тезопр. печного бункера 7",
     "УСТРАНЕНА неисправность тезопр. печного бункера 7"},
    {4, 7, "Неисправность тезопр. печного бункера 8",
     "УСТРАНЕНА неисправность тезопр. печного бункера 8"},
    {5, 0, "Неисправность тезопр. печного бункера 9",
     "УСТРАНЕНА неисправность тезопр. печного бункера 9"},
    {5, 1, "Неисправность тезопр. печного бункера 10",
     "УСТРАНЕНА неисправность тезопр. печного бункера 10"},
    {5, 2, "Нет связи с панелью оператора", "УСТРАНЕНО отсутствие связи с панелью оператора"},
    {5, 3, "Авария механизма подъемника скипового",
     "УСТРАНЕНА авария механизма подъемника скипового"},
    {5, 4, "Провисание троса скипа", "УСТРАНЕНО провисание троса скипа"},
};

class AlarmBit : public testing::TestWithParam<BitCase> {};

TEST_P(AlarmBit, RaisesRedAndClearsBlackWithItsOwnTexts)
{
    const BitCase& c = GetParam();
    AlarmBytes set{};
    set[c.alarmByte] = static_cast<std::uint8_t>(1u << c.bit);

    AlarmEvaluator evaluator;
    EXPECT_EQ(evaluator.evaluate(set), std::vector<AlarmEvent>{red(c.raise)});
    EXPECT_EQ(evaluator.evaluate(AlarmBytes{}), std::vector<AlarmEvent>{black(c.clear)});
}

INSTANTIATE_TEST_SUITE_P(AllFortyFive, AlarmBit, testing::ValuesIn(bitCases),
                         [](const testing::TestParamInfo<BitCase>& info) {
                             return "Byte" + std::to_string(83 + info.param.alarmByte) + "Bit" +
                                    std::to_string(info.param.bit);
                         });

TEST(AlarmEvaluation, EveryBitSetAtFirstReadGivesFortyFiveRaisesInTableOrder)
{
    AlarmEvaluator evaluator;
    std::vector<AlarmEvent> expected;
    for (const BitCase& c : bitCases)
        expected.push_back(red(c.raise));
    EXPECT_EQ(evaluator.evaluate(AlarmBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), expected);
}

// A sink that fails (the journal append) stops the pass; the state stays as
// it was, so the next good read reports the same changes again.
TEST(AlarmEvaluation, FailingSinkLeavesStateForTheNextRead)
{
    AlarmBytes previous{0x80, 0, 0, 0, 0, 0};
    bool firstPassDone = true;
    std::vector<AlarmEvent> seen;
    const AlarmBytes current{0x01, 0, 0, 0, 0, 0};

    EXPECT_THROW(tarvok::alarms::evaluateAlarms(current, previous, firstPassDone,
                                                [&seen](const AlarmEvent& e) {
                                                    seen.push_back(e);
                                                    throw std::runtime_error("journal");
                                                }),
                 std::runtime_error);
    EXPECT_EQ(seen, std::vector<AlarmEvent>{red("Неисправность тензопреобразователя 1")});
    EXPECT_EQ(previous, (AlarmBytes{0x80, 0, 0, 0, 0, 0}));

    seen.clear();
    tarvok::alarms::evaluateAlarms(current, previous, firstPassDone,
                                   [&seen](const AlarmEvent& e) { seen.push_back(e); });
    EXPECT_EQ(seen, (std::vector<AlarmEvent>{red("Неисправность тензопреобразователя 1"),
                                             black("ПУСК")}));
    EXPECT_EQ(previous, current);
}

TEST(AlarmEvaluation, FailingFirstPassStaysAFirstPass)
{
    AlarmBytes previous{};
    bool firstPassDone = false;
    EXPECT_ANY_THROW(tarvok::alarms::evaluateAlarms(
        AlarmBytes{0x80, 0, 0, 0, 0, 0}, previous, firstPassDone,
        [](const AlarmEvent&) { throw std::runtime_error("journal"); }));
    EXPECT_FALSE(firstPassDone);
}

} // namespace
