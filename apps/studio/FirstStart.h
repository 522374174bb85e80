#pragma once

#include <QString>

class QMessageBox;

namespace mebrox::studio {

class QtStudioWindow;

// Where the first start finds the examples and where it puts what it makes.
struct TFirstStartPlaces {
  QString Examples;    // the examples' folder; empty when the studio has none beside it
  QString WorkFolder;  // Mebrox in the user's documents folder
};

// The examples beside the program: share/mebrox/examples next to its bin folder when installed
// (under /usr, or wherever the package was unpacked), examples two folders up in the build
// tree. Empty when neither holds a project.
QString ExamplesBeside(const QString& programDir);

// The examples beside this program, and Mebrox in the documents folder the user's XDG user
// directories name.
TFirstStartPlaces UserFirstStartPlaces();

// Whether a studio started without a project makes the offer: only while it has never opened
// one, so that File > Reopen serves everyone else.
bool ShouldOfferFirstStart(const QString& settingsFile = QString());

enum class TFirstStartChoice { OpenExamples, NewProject, NotNow };

// The copy of the example project folder example in the work folder, made on first use and
// kept from then on as the designer changed it; the project file in it. Empty, with the reason
// in error, when it cannot be made.
QString ExampleCopy(const TFirstStartPlaces& places, const QString& example, QString& error);

// The first ProjectN/ProjectN.dpr in the work folder with nothing of that name there yet.
QString FreshProjectPath(const QString& workFolder);

// Carries out the designer's choice in the window: the examples copied into the work folder
// and the first of them opened, or a new project made there and opened. False when nothing was
// opened; a failure is reported through the window's OnMessage.
bool CarryOutFirstStart(QtStudioWindow& window, TFirstStartChoice choice,
                        const TFirstStartPlaces& places);

// Asks over the window, without blocking it, and carries out the choice once it is made.
QMessageBox* OfferFirstStart(QtStudioWindow& window, const TFirstStartPlaces& places);

}  // namespace mebrox::studio
