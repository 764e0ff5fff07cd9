#pragma once
// Option of the open-file dialog (Platform::OpenFileDialog) beside
// kFileDialogDirectory: a file to be written is chosen, so a name that does
// not exist yet may be given, and replacing an existing one is confirmed.

namespace vantu {

constexpr int kFileDialogSave = 2;

}  // namespace vantu
