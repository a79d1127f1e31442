#pragma once

#include <QString>
#include <Qt>

namespace brimble {

class Platform;

// Show mode "show the window in its current size and position".
constexpr int kShowNormalActivate = 5;

// The form of a link text that the platform's opener accepts. Texts it accepts already are
// returned unchanged; only Windows spellings are rewritten: backslashes after the scheme
// ("http:\\host\page" -> "http://host/page") and Windows paths after "file:"
// ("file:\\C:\dir\a.txt" -> "file:///C:/dir/a.txt", "file:\\\\server\share" ->
// "file://server/share").
QString openableLink(const QString& text);

// Asks the platform to open `file` with its default action. The platform's opener takes
// neither parameters, a directory nor a show mode, so those only document the call; the
// result is not looked at. "charmap.exe" starts the desktop's character map program.
void shellrun(Platform& platform, const QString& file, const QString& parameters,
              const QString& directory, int showMode);

// The link action shared by the editor and every pop-up view: opens the clicked link,
// whichever button clicked it. Long texts are handed over whole.
class URLClickAction {
public:
    explicit URLClickAction(Platform& platform) : platform_(platform) {}
    void operator()(const QString& text, Qt::MouseButton button) const;

private:
    Platform& platform_;
};

} // namespace brimble
