#pragma once
// The support web page, opened in the user's browser by the Help menu and the
// About box. The browser is reached through a replaceable opener so tests can
// see the address and decide the outcome.
#include <QUrl>
#include <functional>

namespace glamora {

constexpr const char* kSupportAddress = "https://www.glamora.example/support";
// The web address as the About box shows it.
constexpr const char* kWebAddressText = "www.glamora.example";

// Opens an address; false when the platform found nothing to open it with.
using UrlOpener = std::function<bool(const QUrl&)>;

// Replaces the opener; an empty one restores the platform's. Returns the
// opener installed before.
UrlOpener SetUrlOpener(UrlOpener opener);

// Opens the support page. When it cannot be opened, a message box captioned
// "Error Explore Web" says "Error: File not found"; nothing else is reported.
void OpenSupportPage();

}  // namespace glamora
