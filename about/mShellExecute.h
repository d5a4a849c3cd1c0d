#pragma once

#include <QString>
#include <array>
#include <string_view>

class QWidget;

namespace platform {
class DocumentLauncher;
class MessageBoxService;
}  // namespace platform

namespace mShellExecute {

// The French message for each failure code of a launch. The last row stands for every other
// code up to 32 and for any negative one.
struct LaunchError {
  int code;
  std::string_view message;
};
inline constexpr int kAnyOtherCode = -1;
inline constexpr std::array<LaunchError, 14> LaunchErrorMessages{{
    {0, "Mémoire insuffisante."},
    {2, "Fichier non trouvé."},
    {3, "Erreur dans le chemin."},
    {5, "Accès au fichier refusé."},
    {8, "Mémoire insuffisante."},
    {11, "Erreur lors de l'ouverture du fichier."},
    {26, "Violation de partage."},
    {27, "Ce type de fichier n'a pas d'association valide."},
    {28, "Délai d'attente dépassé."},
    {29, "Erreur dans la transaction DDE."},
    {30, "L'application demandée est occupée."},
    {31, "Aucune application n'est associée à ce type de fichier."},
    {32, "Une DLL requise n'a pas été trouvée."},
    {kAnyOtherCode, "Une erreur est survenue pendant l'ouverture du fichier."},
}};

// The message for a failure code.
QString LaunchErrorMessage(int code);

// What a launch goes through: the desktop's document launcher and its message box.
struct Services {
  platform::DocumentLauncher& launcher;
  platform::MessageBoxService& messageBox;
};
// xdg-open and the desktop's message box.
Services SystemServices();

// Opens `file` (a document, folder, program or address) with the application associated with
// it, using the verb `operation` ("open"); `directory` is where it starts, and the desktop
// decides how its window shows. Returns the launch's result code
// unchanged: above 32 is success. When the launch fails and `showErrors` is true, the user is
// told why in a message box in front of `ownerWindow` (may be null) and the call returns once it
// is closed.
int LaunchDocument(const QString& file, const QString& operation, const QString& directory,
                   QWidget* ownerWindow, bool showErrors,
                   const Services& services = SystemServices());

}  // namespace mShellExecute
