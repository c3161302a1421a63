// The program object of quotedesk: its globals (QdState) and its forms, each created on first
// use and gone after an unload. Nothing of the program lives outside it, so a test starts from a
// fresh one.
//
// Other forms reach everything through it:
//   app.g                       the program's globals by their names (Grid1 models, CUR_SLOT ...)
//   app.kihon()                 the main window KIHON (controls, menus, the sheet views)
//   app.kihon().currentGridView() the view of the current sheet Grid1(CUR_SLOT)
//   app.forms.get<SSKENSA>()    any other form, loaded hidden on first use; a form class is
//                               built with (QuotedeskApp &) when it has such a constructor, and
//                               the forms below the main window as form_links.h defines them
//   app.editTool()              the edit tool window HENSYU_MENU as the main window uses it
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/qt/forms.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/sheet/edit_tool_link.h"

namespace qd::forms {

class KIHON;
class QuotedeskApp;

// The forms of the program, one SingleForm per form class, kept in the order of first use and
// destroyed in the reverse order (the main window, used first, goes last).
class FormRegistry {
public:
    explicit FormRegistry(QuotedeskApp &app) : m_app(app) {}
    ~FormRegistry() { clear(); }
    FormRegistry(const FormRegistry &) = delete;
    FormRegistry &operator=(const FormRegistry &) = delete;

    // The SingleForm of a form class; the form itself loads on its get().
    template <class T>
    qd::qt::SingleForm<T> &slot()
    {
        for (const Entry &e : m_entries)
            if (e.type == std::type_index(typeid(T)))
                return *static_cast<qd::qt::SingleForm<T> *>(e.holder.get());
        auto *single = new qd::qt::SingleForm<T>(factory<T>());
        m_entries.push_back({std::type_index(typeid(T)),
                             std::shared_ptr<void>(single, [](void *p) { delete static_cast<qd::qt::SingleForm<T> *>(p); })});
        return *single;
    }

    // From now on the form of class T is made by `make`: for a form of a library below the main
    // window, which is built with its links to the main window rather than with the program.
    // Done before the form is first used.
    template <class T>
    void define(typename qd::qt::SingleForm<T>::Factory make) { slot<T>().setFactory(std::move(make)); }

    // The form, loaded hidden if it is not loaded yet.
    template <class T>
    T &get() { return slot<T>().get(); }
    // The form if it is loaded, else nullptr.
    template <class T>
    T *ifLoaded() { return slot<T>().ifLoaded(); }
    template <class T>
    bool isLoaded() { return slot<T>().isLoaded(); }
    template <class T>
    void unload() { slot<T>().unload(); }

    // Destroys every form, the last used first.
    void clear()
    {
        while (!m_entries.empty())
            m_entries.pop_back();
    }

private:
    template <class T>
    typename qd::qt::SingleForm<T>::Factory factory()
    {
        if constexpr (std::is_constructible_v<T, QuotedeskApp &>)
            return [this] { return new T(m_app); };
        else if constexpr (std::is_default_constructible_v<T>)
            return [] { return new T(); };
        else
            return []() -> T * { throw std::logic_error("a form used before the program defined how to make it"); };
    }

    struct Entry {
        std::type_index type;
        std::shared_ptr<void> holder;
    };
    QuotedeskApp &m_app;
    std::vector<Entry> m_entries;
};

class QuotedeskApp {
public:
    QuotedeskApp();
    ~QuotedeskApp();
    QuotedeskApp(const QuotedeskApp &) = delete;
    QuotedeskApp &operator=(const QuotedeskApp &) = delete;

    qd::core::QdState g;
    FormRegistry forms{*this};

    // The main window, created on first use (its Form_Load is run by the caller: main(), or a
    // test after it has set up its seam and folders).
    KIHON &kihon();
    bool hasKihon();

    // Ends the program (the end command, or the main window closed with no document open).
    // The running program quits its event loop; a test may set its own.
    std::function<void()> endProgram;

    // The edit tool window as the main window uses it: loaded hidden when it is not loaded.
    // Until the edit tool window registers itself through editToolProvider, a stand-in keeps
    // the values the main window sets.
    EditToolWindow &editTool();
    bool editToolLoaded() const;
    void unloadEditTool();
    // Set by the edit tool window's code: loads (hidden) and returns the window, and unloads it.
    std::function<EditToolWindow &()> editToolProvider;
    std::function<bool()> editToolIsLoaded;
    std::function<void()> editToolUnloader;

private:
    std::unique_ptr<EditToolWindow> m_editToolStandIn;
};

} // namespace qd::forms
