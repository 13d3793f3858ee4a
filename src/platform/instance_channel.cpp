#include "instance_channel.h"

#include <QLocalSocket>

#include <memory>

#include "instance_start.h"

namespace vorelbox::platform {

InstanceServer::InstanceServer(const QString& name, QObject* parent) : QObject(parent) {
    QLocalServer::removeServer(name);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(name);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::take_connection);
}

void InstanceServer::take_connection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const auto files = core::read_handover_message(std::string_view(received->constData(), received->size()));
            if (!files) {
                return;
            }
            socket->write(core::HANDOVER_REPLY.data(), static_cast<qint64>(core::HANDOVER_REPLY.size()));
            socket->flush();
            socket->disconnectFromServer();
            QStringList names;
            for (const std::string& f : *files) {
                names.append(QString::fromStdString(f));
            }
            emit files_handed_over(names);
        });
    }
}

bool hand_over_files(const QString& name, const std::vector<std::string>& files, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeout_ms)) {
        return false;
    }
    const std::string message = core::handover_message(files);
    socket.write(message.data(), static_cast<qint64>(message.size()));
    if (!socket.waitForBytesWritten(timeout_ms)) {
        return false;
    }
    QByteArray reply;
    while (reply.size() < static_cast<qsizetype>(core::HANDOVER_REPLY.size()) && socket.waitForReadyRead(timeout_ms)) {
        reply.append(socket.readAll());
    }
    reply.append(socket.readAll());
    return reply.startsWith(QByteArray(core::HANDOVER_REPLY.data(), static_cast<qsizetype>(core::HANDOVER_REPLY.size())));
}

}  // namespace vorelbox::platform
