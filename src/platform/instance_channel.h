#pragma once
// The local channel between two copies of the program: the copy that holds the
// lock listens, a second start with files hands them over and ends.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace vorelbox::platform {

class InstanceServer : public QObject {
    Q_OBJECT

  public:
    // Only the copy that holds the lock listens, so an old channel of the same
    // name, left by a copy that crashed, is removed first.
    explicit InstanceServer(const QString& name, QObject* parent = nullptr);
    bool listening() const { return server_.isListening(); }

  signals:
    void files_handed_over(const QStringList& files);

  private:
    void take_connection();
    QLocalServer server_;
};

// Gives the files to the copy listening on `name`; true once it confirms.
bool hand_over_files(const QString& name, const std::vector<std::string>& files, int timeout_ms = 3000);

}  // namespace vorelbox::platform
