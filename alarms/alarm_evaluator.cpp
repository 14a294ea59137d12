// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "alarms/alarm_evaluator.h"

namespace tarvok::alarms {

namespace {

struct Row {
    const char16_t* raise;
    const char16_t* clear;
    int firstNumber; // 0: a single alarm; otherwise the number ending the texts of bit 0
};

// Families end both texts with a number; the family rows hold the text up to
// that number. Spellings are the plant's own and must stay as they are, the
// journal files and the operators' habits depend on them.
const Row* rowFor(int alarmByte, int bit)
{
    static const Row tenso{u"Неисправность тензопреобразователя ",
                           u"УСТРАНЕНА неисправность тензопреобразователя ", 1};
    static const Row overload{u"Перегруз по весу в дозаторе ",
                              u"УСТРАНЕН перегруз по весу в дозаторе ", 1};
    static const Row feeder{u"Ававия вибропитателя затвора ",
                            u"УСТРАНЕНА ававия вибропитателя затвора ", 1};
    static const Row gate{u"Ававия затвора дозатора ", u"УСТРАНЕНА ававия затвора дозатора ", 1};
    static const Row bunker{u"Неисправность тезопр. печного бункера ",
                            u"УСТРАНЕНА неисправность тезопр. печного бункера ", 1};
    static const Row bunkerHigh{u"Неисправность тезопр. печного бункера ",
                                u"УСТРАНЕНА неисправность тезопр. печного бункера ", 9};

    static const Row singles[][8] = {
        {{},
         {},
         {},
         {},
         {},
         {},
         {u"Заданные уставки ошибочны и не приняты", u"Заданные уставки приняты", 0},
         {u"Останов", u"ПУСК", 0}},
        {{},
         {},
         {},
         {},
         {},
         {},
         {u"Нет материала для дозаторов 1-6", u"УСТРАНЕНО отсутствие материала для дозаторов 1-6",
          0},
         {u"Костеризация в дозаторах 1-6", u"УСТРАНЕНА костеризация в дозаторах 1-6", 0}},
        {{},
         {},
         {},
         {},
         {},
         {},
         {u"Авария конвейера промежуточного", u"УСТРАНЕНА авария конвейера промежуточного", 0},
         {u"Авария транспортера сборного", u"УСТРАНЕНА авария транспортера сборного", 0}},
        {{},
         {},
         {},
         {},
         {},
         {},
         {u"Авария затвора тележки", u"УСТРАНЕНА авария затвора тележки", 0},
         {u"Авария тележки кольцевого хода", u"УСТРАНЕНА авария тележки кольцевого хода", 0}},
        {},
        {{},
         {},
         {u"Нет связи с панелью оператора", u"УСТРАНЕНО отсутствие связи с панелью оператора", 0},
         {u"Авария механизма подъемника скипового",
          u"УСТРАНЕНА авария механизма подъемника скипового", 0},
         {u"Провисание троса скипа", u"УСТРАНЕНО провисание троса скипа", 0},
         {},
         {},
         {}},
    };

    if (alarmByte < 0 || alarmByte >= AlarmByteCount || bit < 0 || bit > 7)
        return nullptr;
    if (alarmByte <= 3 && bit <= 5) {
        static const Row* const families[] = {&tenso, &overload, &feeder, &gate};
        return families[alarmByte];
    }
    if (alarmByte == 4)
        return &bunker;
    if (alarmByte == 5 && bit <= 1)
        return &bunkerHigh;
    const Row& row = singles[alarmByte][bit];
    return row.raise ? &row : nullptr;
}

} // namespace

std::optional<AlarmTexts> alarmTexts(int alarmByte, int bit)
{
    const Row* row = rowFor(alarmByte, bit);
    if (!row)
        return std::nullopt;
    AlarmTexts texts{QString::fromUtf16(row->raise), QString::fromUtf16(row->clear)};
    if (row->firstNumber != 0) {
        const QString number = QString::number(row->firstNumber + bit);
        texts.raise += number;
        texts.clear += number;
    }
    return texts;
}

void evaluateAlarms(const AlarmBytes& current, AlarmBytes& previous, bool& firstPassDone,
                    const AlarmSink& sink)
{
    for (int byte = 0; byte < AlarmByteCount; ++byte) {
        // Before the first pass there is nothing to compare with: every set
        // bit is news, and a clear bit says nothing.
        const unsigned changed =
            firstPassDone ? unsigned(current[byte] ^ previous[byte]) : unsigned(current[byte]);
        if (changed == 0)
            continue;
        for (int bit = 0; bit < 8; ++bit) {
            if (!(changed & (1u << bit)))
                continue;
            const auto texts = alarmTexts(byte, bit);
            if (!texts)
                continue;
            const bool raised = (current[byte] >> bit) & 1u;
            sink(AlarmEvent{raised ? texts->raise : texts->clear, raised});
        }
    }
    // Unevaluated bits are stored too, so that only later changes of the
    // evaluated ones are reported.
    previous = current;
    firstPassDone = true;
}

void AlarmEvaluator::evaluate(const AlarmBytes& current, const AlarmSink& sink)
{
    evaluateAlarms(current, previous_, firstPassDone_, sink);
}

std::vector<AlarmEvent> AlarmEvaluator::evaluate(const AlarmBytes& current)
{
    std::vector<AlarmEvent> events;
    evaluate(current, [&events](const AlarmEvent& e) { events.push_back(e); });
    return events;
}

} // namespace tarvok::alarms
