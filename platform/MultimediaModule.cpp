#include "platform/MultimediaModule.h"

#include "platform/MultimediaBackend.h"

MultimediaModule::MultimediaModule(const QString& modulePath) : m_modulePath(modulePath) {}

MultimediaModule::~MultimediaModule() {
    if (m_backend == nullptr) return;
    m_backend->release();
}

MultimediaBackend* MultimediaModule::backend() {
    if (m_backend != nullptr) return m_backend;
    // A loader keeps its first failure, so each try needs a new one.
    m_loader = std::make_unique<QPluginLoader>(m_modulePath);
    // Unloading would pull code from under the media framework's own threads at exit.
    m_loader->setLoadHints(QLibrary::PreventUnloadHint);
    m_backend = qobject_cast<MultimediaBackend*>(m_loader->instance());
    return m_backend;
}

QString MultimediaModule::besideProgram(const QString& programFolder) {
    return programFolder + QStringLiteral(QUILLON_MULTIMEDIA_MODULE);
}
