#pragma once
// The toolkit's short messages in its seven languages, and the choice of a
// language from the system's when a component is left at msSystem.
#include <string_view>

namespace glamora {

enum TMsgLanguage { msSystem, msEnglish, msItalian, msGerman, msSpanish, msFrench, msPortuguese, msGreek };

// Message numbers of the table.
constexpr int kMsgPreview = 0;
constexpr int kMsgColors = 58;

// The language a locale name ("de_DE.UTF-8", "pt", "el_GR") stands for by
// its primary language; English for any other language and for "C"/"POSIX".
TMsgLanguage MsgLanguageOfLocale(std::string_view locale);
// The system's language, from LC_ALL, LC_MESSAGES or LANG (the first set).
TMsgLanguage SystemMsgLanguage();

// The message in the language (msSystem: the system's), UTF-8. A message
// without a translation falls back to English; an unknown number gives "".
std::string_view Msg(int id, TMsgLanguage language);

}  // namespace glamora
