#pragma once
// The platform's own dialogs (file and folder dialogs, the calendar grid,
// message-box buttons) in Spanish: Qt's Spanish translations and a Spanish
// default locale.

class QCoreApplication;

namespace vantu::gui {

// Loads Qt's Spanish translations from Qt's translations folder and makes
// Spanish the default locale. False when the translations are not
// installed; the dialogs then keep Qt's English texts.
bool InstallSpanishTranslations(QCoreApplication& app);

}  // namespace vantu::gui
