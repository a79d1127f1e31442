#pragma once

#include <memory>

namespace brimble {

class Platform;
class SessionEnd;
class TForm1;
class TForm2;
class TForm3;
class Tabout;
class Temoticon;
class TForm6;

// The program's windows, made once in their order; afterwards only shown and hidden.
class Program {
public:
    explicit Program(Platform& platform);
    ~Program();
    // Makes the windows, runs the start-up sequence and goes to the tray.
    void start();
    TForm1& mainWindow() { return *form1_; }
    TForm2& customizeWindow() { return *form2_; }
    TForm3& editHistoryWindow() { return *form3_; }
    Tabout& aboutBox() { return *about_; }
    Temoticon& quickImages() { return *emoticon_; }
    TForm6& hyperLinkDialog() { return *form6_; }

private:
    Platform& platform_;
    std::unique_ptr<TForm1> form1_;
    // Bound to the main window's views: declared after it, so they go first.
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<Tabout> about_;
    std::unique_ptr<Temoticon> emoticon_;
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<SessionEnd> sessionEnd_;
};

} // namespace brimble
