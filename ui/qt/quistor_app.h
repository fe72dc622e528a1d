#pragma once

namespace veltaro::ui {

// The application object: runs the main dialog modally once; the program ends when it
// closes. It takes no command-line arguments and keeps no settings. A QApplication must
// exist.
class CQuistorApp {
  public:
    // Sets up the look, runs the dialog; returns the program's exit status (0).
    int InitInstance();
};

}  // namespace veltaro::ui
