// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#pragma once

#include "app/settings.h"

#include <QString>

#include <functional>
#include <optional>

namespace tarvok::app {

// Shows one message to the operator (a message box in the program, a
// recorder in tests).
using MessageReporter = std::function<void(const QString& message)>;

// "'%s' is not a valid integer value" with the offending text.
QString invalidIntegerMessage(const QString& text);

// Strict decimal: optional sign, digits only, within 32 bits. The profile
// layer has already dropped surrounding blanks.
std::optional<int> parseDecimal(const QString& text);

// The one section of the settings file.
QString settingsSection();

// Reads ComPort, MaxArhDay, ComSpeed, DelayTime and Language, in that order.
// A numeric value that is not a decimal integer is reported and that key
// keeps its default; the remaining keys are still read, so one typing error
// does not leave the workstation without its link and journal.
void readSettings(const QString& file, Settings& settings, const MessageReporter& report);

// Writes ComPort, MaxArhDay, ComSpeed, DelayTime and Language, in that order,
// into section "Data". On a refused write returns "Unable to write to %s";
// the keys written before the refusal stay written.
std::optional<QString> writeSettings(const QString& file, const Settings& settings);

} // namespace tarvok::app
