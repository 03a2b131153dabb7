#include "PulseConnection.h"

#include <pulse/context.h>
#include <pulse/proplist.h>
#include <pulse/thread-mainloop.h>

#include <utility>

PulseConnection::PulseConnection(Names names) : m_names(std::move(names)) {}

PulseConnection::~PulseConnection() {
    pa_threaded_mainloop* loop = m_loop;
    if (loop == nullptr) return;
    pa_threaded_mainloop_stop(loop);
    if (m_context != nullptr) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    pa_threaded_mainloop_free(loop);
}

bool PulseConnection::start() {
    pa_threaded_mainloop* loop = pa_threaded_mainloop_new();
    if (loop == nullptr) return false;
    pa_proplist* names = pa_proplist_new();
    pa_proplist_sets(names, PA_PROP_APPLICATION_NAME, m_names.application.constData());
    pa_proplist_sets(names, PA_PROP_APPLICATION_ID, m_names.id.constData());
    pa_proplist_sets(names, PA_PROP_APPLICATION_ICON_NAME, m_names.icon.constData());
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop),
                                             m_names.application.constData(), names);
    pa_proplist_free(names);
    if (m_context == nullptr) {
        pa_threaded_mainloop_free(loop);
        return false;
    }
    pa_context_set_state_callback(
        m_context,
        [](pa_context* context, void* data) {
            auto* self = static_cast<PulseConnection*>(data);
            if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) self->m_failed = true;
            pa_threaded_mainloop_signal(self->m_loop, 0);
        },
        this);
    // Published before the thread runs, so that wakeAll() reaches every waiter from now on.
    m_loop = loop;
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0 ||
        pa_threaded_mainloop_start(loop) < 0) {
        m_failed = true;
        return false;
    }
    return true;
}

bool PulseConnection::isUsable() const {
    return !m_failed && PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context));
}

bool PulseConnection::waitReady(const std::atomic<bool>& giveUp) {
    {
        const std::lock_guard starting(m_starting);
        if (!m_started) {
            m_started = true;
            if (!start()) m_failed = true;
        }
    }
    if (m_failed || m_loop == nullptr) return false;
    const Lock locked(*this);
    while (!giveUp && isUsable() && pa_context_get_state(m_context) != PA_CONTEXT_READY)
        waitForEvent();
    return !giveUp && isUsable();
}

PulseConnection::Lock::Lock(PulseConnection& connection) : m_loop(connection.m_loop) {
    pa_threaded_mainloop_lock(m_loop);
}

PulseConnection::Lock::~Lock() { pa_threaded_mainloop_unlock(m_loop); }

void PulseConnection::waitForEvent() { pa_threaded_mainloop_wait(m_loop); }

void PulseConnection::wakeAll() {
    pa_threaded_mainloop* loop = m_loop;
    if (loop == nullptr) return;
    pa_threaded_mainloop_lock(loop);
    pa_threaded_mainloop_signal(loop, 0);
    pa_threaded_mainloop_unlock(loop);
}
