#pragma once
// A temporary program folder: the executable's directory as the program sees it, with the
// external libraries of the build in its bin/ folder when asked.

#include <QString>
#include <QTemporaryDir>

namespace qxtest {

enum class WithLibraries { No, Yes };

class ProgramFolder {
public:
    explicit ProgramFolder(WithLibraries libraries = WithLibraries::No);
    ~ProgramFolder();
    QString path() const;            // with a trailing "/"
    QString file(const QString& name) const { return path() + name; }
    // Copies a library built for the tests (build/tests/plugins/<source>) into bin/<target>.
    void installTestLibrary(const QString& source, const QString& target);

private:
    QTemporaryDir dir_;
};

}  // namespace qxtest
