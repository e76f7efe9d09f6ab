// Opening the support web page through the replaceable opener.
#include "desktop/SupportPage.h"

#include <QDesktopServices>

#include "desktop/Dialogs.h"

namespace glamora {

namespace {

UrlOpener& CurrentOpener() {
  static UrlOpener opener;
  return opener;
}

}  // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
  UrlOpener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}

void OpenSupportPage() {
  const QUrl address(kSupportAddress);
  const UrlOpener& opener = CurrentOpener();
  const bool opened = opener ? opener(address) : QDesktopServices::openUrl(address);
  if (!opened) MessageBox("Error: File not found", "Error Explore Web", mbOK);
}

}  // namespace glamora
