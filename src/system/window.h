#pragma once
// The narrow view of the main window that the engine and the page operations use.
#include <QString>

namespace kesto {

enum class Page { Source, Skip, Diz, Nfo, Zip, Kesto, About };
enum class Field { DizColumn, DizLine, ZipName };

class Window {
public:
    virtual ~Window() = default;
    virtual void hideAllPages() = 0;
    // The page display routine of that page (for Kesto: places and shows the Kesto page, title "
    // Kesto!").
    virtual void showPage(Page page) = 0;
    virtual void focusField(Field field) = 0;
    virtual void setTitleText(const QString &caption) = 0; // the page title panel
    virtual void setWindowTitle(const QString &title) = 0;

    // Kesto page.
    virtual void setStatusText(const QString &text) = 0;
    virtual void setArchiveText(const QString &text) = 0;
    virtual void setVolumeText(const QString &text) = 0;
    virtual int progress() const = 0;
    virtual void setProgress(int percent) = 0;

    // Source and Zip page displays.
    virtual void setSourceSizeText(const QString &text) = 0;
    virtual void setMeasuring(bool busy) = 0; // Browse button and list bar off, wait pointer
    virtual void setTempFreeSpaceText(const QString &text) = 0;
    virtual void setZipFreeSpaceText(const QString &text) = 0;
    virtual void setSizeDisplayText(const QString &text) = 0;

    // The job's fields changed behind the pages' back (script loaded, field cleared).
    virtual void jobChanged() = 0;
    // Lets pending window events be served (user input included).
    virtual void serveEvents() = 0;
    virtual void repaint() = 0;
    // Closes the main window, which runs the shut-down clean-up.
    virtual void closeMainWindow() = 0;
};

} // namespace kesto
