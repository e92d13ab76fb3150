// A session manager for one client, as a desktop's is at a login: it prints
// its address (the value for SESSION_MANAGER), asks the first client that
// registers to save itself, and prints the restart style hint the client
// set while saving ("RestartStyleHint N", -1 when none; 3 is "never"). On
// SIGUSR1 it ends the session as a logout does: it asks its clients to save
// for a shutdown, and once they have, tells them to die ("Die" is printed).
// Runs on while its client does: a client whose manager goes away ends too.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>

#include <csignal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int restartHint = -1;
bool saved = false;
bool told = false;
volatile std::sig_atomic_t logoutAsked = 0;
bool loggingOut = false;
std::vector<SmsConn> clients;

void OnLogout(int) { logoutAsked = 1; }

Status RegisterClient(SmsConn connection, SmPointer, char* previousId)
{
    std::free(previousId);
    char* id = SmsGenerateClientID(connection);
    SmsRegisterClientReply(connection, id);
    std::free(id);
    clients.push_back(connection);
    // A new client is asked to save at once, so the manager learns how to restart it.
    SmsSaveYourself(connection, SmSaveLocal, False, SmInteractStyleNone, False);
    return 1;
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** properties)
{
    for (int i = 0; i < count; ++i) {
        const SmProp* property = properties[i];
        if (std::strcmp(property->name, SmRestartStyleHint) == 0 && property->num_vals > 0)
            restartHint = static_cast<const unsigned char*>(property->vals[0].value)[0];
        SmFreeProperty(properties[i]);
    }
    std::free(properties);
}

void SaveYourselfDone(SmsConn connection, SmPointer, Bool)
{
    saved = true;
    if (!loggingOut)
        return;
    SmsDie(connection);
    std::printf("Die\n");
    std::fflush(stdout);
}

void CloseConnection(SmsConn connection, SmPointer, int count, char** reasons)
{
    SmFreeReasons(count, reasons);
    std::erase(clients, connection);
    SmsCleanUp(connection);
}

void Ignore(SmsConn, SmPointer) {}
void IgnoreInteractRequest(SmsConn, SmPointer, int) {}
void IgnoreInteractDone(SmsConn, SmPointer, Bool) {}
void IgnoreSaveRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void IgnoreDelete(SmsConn, SmPointer, int count, char** names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

Status NewClient(SmsConn, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**)
{
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    *callbacks = {};
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = IgnoreInteractRequest;
    callbacks->interact_done.callback = IgnoreInteractDone;
    callbacks->save_yourself_request.callback = IgnoreSaveRequest;
    callbacks->save_yourself_phase2_request.callback = Ignore;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = IgnoreDelete;
    callbacks->get_properties.callback = Ignore;
    return 1;
}

// Clients of this machine's sockets only, never over the network.
Bool LocalHost(char* host)
{
    const bool local = std::strncmp(host, "local/", 6) == 0 || std::strncmp(host, "unix/", 5) == 0;
    return local ? True : False;
}

} // namespace

int main()
{
    char error[256] = "";
    if (!SmsInitialize("tarvok-test", "1.0", NewClient, nullptr, LocalHost, sizeof error, error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int listenerCount = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&listenerCount, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < listenerCount; ++i)
        IceSetHostBasedAuthProc(listeners[i], LocalHost);
    char* address = IceComposeNetworkIdList(listenerCount, listeners);
    std::printf("%s\n", address);
    std::fflush(stdout);
    std::free(address);

    struct sigaction action {};
    action.sa_handler = OnLogout;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);

    std::vector<IceConn> connections;
    for (;;) {
        if (logoutAsked && !loggingOut) {
            loggingOut = true;
            for (SmsConn client : clients)
                SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleAny, False);
        }
        if (saved && !told) {
            std::printf("RestartStyleHint %d\n", restartHint);
            std::fflush(stdout);
            told = true;
        }
        std::vector<pollfd> fds;
        for (int i = 0; i < listenerCount; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn connection : connections)
            fds.push_back({IceConnectionNumber(connection), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), 100) <= 0)
            continue;
        // Connections accepted below were not polled yet.
        const size_t polled = connections.size();
        for (int i = 0; i < listenerCount; ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            IceAcceptStatus status;
            if (IceConn connection = IceAcceptConnection(listeners[i], &status))
                connections.push_back(connection);
        }
        for (size_t i = 0; i < polled; ++i) {
            if (!(fds[listenerCount + i].revents & (POLLIN | POLLHUP)))
                continue;
            if (IceProcessMessages(connections[i], nullptr, nullptr) == IceProcessMessagesIOError) {
                IceCloseConnection(connections[i]);
                connections.erase(connections.begin() + long(i));
                break;
            }
        }
    }
}
