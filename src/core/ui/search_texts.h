#pragma once
// Texts the search window builds itself: the about page, the start message and the line
// written for an unexpected error.
#include "core/ports/locale.h"

#include <string>
#include <string_view>

namespace orvan {

// The product title, a line break, the version text, an empty line and the closing lines.
std::string AboutText();

// "Started at %s" with the moment in the general form.
std::string StartedAtText(double moment, const LocaleSettings& locale);

// "Application error raised! [%s]" with the error's message.
std::string ApplicationErrorText(std::string_view message);

} // namespace orvan
