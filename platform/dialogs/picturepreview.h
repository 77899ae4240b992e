#pragma once
// A picture preview beside the file list of a (non-native) Qt file dialog.

class QFileDialog;

namespace platform {

// Adds a preview that shows the picture under the dialog's current file, scaled down to fit.
void addPicturePreview(QFileDialog& dialog);

}  // namespace platform
