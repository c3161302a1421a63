// Helpers of the forms: sizes and places in twips, centring on the screen, tool windows that stay
// above the main window, and forms that exist once and load on first use.
//
// Twips are converted at the logical resolution of the screen in force (seam().screen()):
// 1440 twips per inch, 15 twips per pixel at 96 dpi.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <type_traits>

namespace qd::qt {

// Pure conversions at a given resolution (dots per inch); pixels are rounded to the nearest.
int twipsToPixelsAt(double twips, double dpi);
double pixelsToTwipsAt(double pixels, double dpi);

// Conversions at the screen in force, horizontal (X) and vertical (Y).
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);
double pixelsToTwipsX(double pixels);
double pixelsToTwipsY(double pixels);

// A window's or control's place in twips. For a window, Left and Top place its frame on the
// screen and Width and Height are the size of its inside; for a control they are relative to
// the inside of its container.
struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

void setGeometryTwips(QWidget *w, double left, double top, double width, double height);
void moveTwips(QWidget *w, double left, double top);
void resizeTwips(QWidget *w, double width, double height);
TwipsRect geometryTwips(const QWidget *w);

// Left := (screen width - window width) / 2, Top := (screen height - window height) / 2.
void centreOnScreen(QWidget *window);

// Moves the window the least way that puts its frame inside the screen's available area (the
// screen without its task bars): a window inside it stays where it is, one larger than the area
// stands at the area's top or left edge.
void keepOnScreen(QWidget *window);

// Makes the window stay above the others, its place and size unchanged; with an owner, the
// window is also kept above the owner's window. The window is a top-level window of its own:
// disabling the owner (a form shown "modally" by disabling the main window) leaves it enabled.
// A window that has a parent widget is taken out of it and deleted with it still.
void makeTopmost(QWidget *window, QWidget *owner = nullptr);

// Shows a form modeless, in front, with the focus.
void showModeless(QWidget *window);

// One form of a program: created hidden on first use, the same one on every later use, gone after
// unload() until it is used again (when its set-up runs anew). The program's state object holds
// one member of this kind per form, so a test starting from a fresh state starts without forms.
// The form's class may be only declared where the member is declared, as long as it is complete
// where the form is used and where the state is destroyed.
template <class T>
class SingleForm {
public:
    using Factory = std::function<T *()>;

    SingleForm()
        requires std::is_default_constructible_v<T>
        : m_factory([] { return new T(); }) {}
    explicit SingleForm(Factory factory) : m_factory(std::move(factory)) {}
    ~SingleForm()
    {
        delete m_form.data();
        for (const QPointer<T> &f : m_unloading)
            delete f.data();
    }

    SingleForm(const SingleForm &) = delete;
    SingleForm &operator=(const SingleForm &) = delete;

    void setFactory(Factory factory) { m_factory = std::move(factory); }

    // The form, loaded (hidden) if it is not loaded yet.
    T &get()
    {
        static_assert(std::is_base_of_v<QWidget, T>, "a form is a widget");
        if (!m_form)
            m_form = m_factory();
        return *m_form;
    }
    T &operator*() { return get(); }
    T *operator->() { return &get(); }

    bool isLoaded() const { return !m_form.isNull(); }
    // The form if it is loaded, else nullptr; loads nothing.
    T *ifLoaded() const { return m_form.data(); }

    // Unloads the form: it is hidden at once and deleted when control returns to the event loop,
    // so a form may unload itself from one of its own handlers.
    void unload()
    {
        if (T *f = m_form.data()) {
            m_form.clear();
            f->hide();
            f->deleteLater();
            m_unloading.removeAll(nullptr);
            m_unloading.append(f);
        }
    }

private:
    Factory m_factory;
    QPointer<T> m_form;
    QList<QPointer<T>> m_unloading; // deleted here if the event loop has not got to them
};

} // namespace qd::qt
