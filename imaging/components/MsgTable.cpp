// The message texts in every language, and which language the system asks for.
#include "imaging/components/MsgTable.h"

#include <array>
#include <cstdlib>
#include <string>

namespace glamora {

namespace {

struct Message {
  int Id;
  // English, Italian, German, Spanish, French, Portuguese, Greek.
  std::array<std::string_view, 7> Text;
};

constexpr std::array<Message, 2> kMessages = {{
    {kMsgPreview,
     {"Preview", "Anteprima", "Vorschau", "Vista Previa", "Prévisualisation", "Visualizar", "Προεπισκόπηση"}},
    {kMsgColors, {"Colors", "Colori", "Farben", "Colores", "Couleurs", "Cores", "Χρώματα"}},
}};

}  // namespace

TMsgLanguage MsgLanguageOfLocale(std::string_view locale) {
  const std::string_view primary = locale.substr(0, locale.find_first_of("_.@-"));
  std::string code;
  for (const char c : primary) code += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (code == "it") return msItalian;
  if (code == "de") return msGerman;
  if (code == "es") return msSpanish;
  if (code == "fr") return msFrench;
  if (code == "pt") return msPortuguese;
  if (code == "el") return msGreek;
  return msEnglish;
}

TMsgLanguage SystemMsgLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return MsgLanguageOfLocale(value);
  }
  return msEnglish;
}

std::string_view Msg(int id, TMsgLanguage language) {
  if (language == msSystem) language = SystemMsgLanguage();
  for (const Message& m : kMessages) {
    if (m.Id != id) continue;
    const std::string_view text = m.Text[size_t(language - msEnglish)];
    return text.empty() ? m.Text[0] : text;
  }
  return {};
}

}  // namespace glamora
