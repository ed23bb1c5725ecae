#pragma once

#include <QLibrary>
#include <QString>

#include <cstdint>

namespace quorvane {

// A system library opened the first time a feature needs it rather than by
// the loader at every start, which would map and bind it before the window
// could show. Opened privately (its names never bind anyone else's) and kept
// open for the rest of the session.
class OnDemandLibrary
{
public:
    // "enchant-2", 2 opens libenchant-2.so.2.
    OnDemandLibrary(const QString &name, int majorVersion) : m_library(name, majorVersion)
    {
        m_loaded = m_library.load();
    }

    QString errorString() const { return m_library.errorString(); }

    // Points `function` at the library's `symbol`; false (and null) when the
    // library or the symbol is missing.
    template <typename Function> bool find(Function &function, const char *symbol)
    {
        function = m_loaded ? reinterpret_cast<Function>(m_library.resolve(symbol)) : nullptr;
        return function != nullptr;
    }

    // The same for a variable the library exports.
    template <typename Value> bool findData(const Value *&value, const char *symbol)
    {
        const QFunctionPointer address = m_loaded ? m_library.resolve(symbol) : nullptr;
        value = reinterpret_cast<const Value *>(reinterpret_cast<std::uintptr_t>(address));
        return value != nullptr;
    }

private:
    QLibrary m_library;
    bool m_loaded = false;
};

} // namespace quorvane
