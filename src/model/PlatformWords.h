#pragma once

#include "model/Translatable.h"

// The texts that name the desktop Bridge runs on, chosen when it is built: a Mac build speaks of
// "this Mac", Finder backups and Login Items; every other build of "this computer", iPhone
// backups made with idevicebackup2 and the desktop's autostart settings. Whole sentences, not
// words to splice in, because a translation needs the sentence: German declines "this
// computer" differently in "Pair this computer" and "on this computer".
//
// They are English, as the core and the service read them (heartbeats, descriptions); what the
// window and the CLI show is looked up under `context` in the translation catalogues. Both
// desktops' texts are marked, so one catalogue serves every build.
namespace quorva::words {

inline constexpr const char* context = "quorva::words";

#if defined(__APPLE__)

inline constexpr const char* tagline = QUORVA_TEXT("quorva::words", "Mac-assisted iPhone safety signals");
inline constexpr const char* pairHeading = QUORVA_TEXT("quorva::words", "1. Pair this Mac");
inline constexpr const char* pairButton = QUORVA_TEXT("quorva::words", "Pair Mac");
// Sent to the service as the bridge's name when the computer has none: never translated.
inline constexpr const char* defaultBridgeName = "Family Mac";
inline constexpr const char* pairFromFamilyApp =
    QUORVA_TEXT("quorva::words", "Pair this Mac from Quorva Family");
inline constexpr const char* pairing = QUORVA_TEXT("quorva::words", "Pairing this Mac");
inline constexpr const char* notPaired =
    QUORVA_TEXT("quorva::words", "Pair this Mac with Quorva Family first.");
inline constexpr const char* disconnect = QUORVA_TEXT("quorva::words", "Disconnect this Mac");
inline constexpr const char* disconnectQuestion = QUORVA_TEXT("quorva::words", "Disconnect this Mac?");
inline constexpr const char* chooseBackupFolder =
    QUORVA_TEXT("quorva::words", "Choose the folder that holds the family's Finder backups");
// Sent to the service in the set-up heartbeat: never translated.
inline constexpr const char* setupIssue =
    "Choose the Finder backup folder and whose iPhone each backup is to finish setup.";
inline constexpr const char* backupFolderHeading = QUORVA_TEXT("quorva::words", "Finder backup folder");
inline constexpr const char* scanning =
    QUORVA_TEXT("quorva::words", "Checking the latest Finder backup locally");
inline constexpr const char* encryptedBackupChosen =
    QUORVA_TEXT("quorva::words", "Encrypted backup detected. Choose an unencrypted Finder backup.");
inline constexpr const char* explanation = QUORVA_TEXT(
    "quorva::words",
    "Bridge checks a Finder backup after visible family setup. It is not a live iPhone message feed.");
inline constexpr const char* firstReleaseNote =
    QUORVA_TEXT("quorva::words", "The first release supports standard unencrypted Finder backups. Backup "
                                 "passwords are never requested or uploaded.");
inline constexpr const char* launchAtLoginNote = QUORVA_TEXT(
    "quorva::words", "When enabled, Bridge stays ready to check for newer Finder backups every 30 "
                     "minutes while you are signed in to this Mac.");
inline constexpr const char* privacyNote = QUORVA_TEXT(
    "quorva::words", "The backup stays on this Mac. Bridge checks incoming text locally and sends "
                     "only messages that match focused safety patterns for Quorva review. Parents "
                     "receive safety moments and Talk Pathway guidance, never a browsable message "
                     "archive.");
inline constexpr const char* noBackupFound = QUORVA_TEXT(
    "quorva::words", "No Finder iPhone backup was found in that folder. Back up the iPhone in Finder, "
                     "then choose the backup folder again.");
inline constexpr const char* launchAtLoginFailed =
    QUORVA_TEXT("quorva::words", "Launch at login could not be updated. You can also change it in System "
                                 "Settings under Login Items.");
inline constexpr const char* chooserMessage = QUORVA_TEXT(
    "quorva::words", "Choose a specific Finder backup or the MobileSync Backup folder. Quorva stores "
                     "read-only permission for this folder.");
// Finder makes the backup; nothing to add under the heading.
inline constexpr const char* backupHint = "";

#else

inline constexpr const char* tagline =
    QUORVA_TEXT("quorva::words", "iPhone safety signals, checked on this computer");
inline constexpr const char* pairHeading = QUORVA_TEXT("quorva::words", "1. Pair this computer");
inline constexpr const char* pairButton = QUORVA_TEXT("quorva::words", "Pair");
// Sent to the service as the bridge's name when the computer has none: never translated.
inline constexpr const char* defaultBridgeName = "Family Computer";
inline constexpr const char* pairFromFamilyApp =
    QUORVA_TEXT("quorva::words", "Pair this computer from Quorva Family");
inline constexpr const char* pairing = QUORVA_TEXT("quorva::words", "Pairing this computer");
inline constexpr const char* notPaired =
    QUORVA_TEXT("quorva::words", "Pair this computer with Quorva Family first.");
inline constexpr const char* disconnect = QUORVA_TEXT("quorva::words", "Disconnect this computer");
inline constexpr const char* disconnectQuestion = QUORVA_TEXT("quorva::words", "Disconnect this computer?");
inline constexpr const char* chooseBackupFolder =
    QUORVA_TEXT("quorva::words", "Choose the folder that holds the family's iPhone backups");
// Sent to the service in the set-up heartbeat: never translated.
inline constexpr const char* setupIssue =
    "Choose the iPhone backup folder and whose iPhone each backup is to finish setup.";
inline constexpr const char* backupFolderHeading = QUORVA_TEXT("quorva::words", "iPhone backup folder");
inline constexpr const char* scanning =
    QUORVA_TEXT("quorva::words", "Checking the latest iPhone backup locally");
inline constexpr const char* encryptedBackupChosen =
    QUORVA_TEXT("quorva::words", "Encrypted backup detected. Choose an unencrypted iPhone backup.");
inline constexpr const char* explanation = QUORVA_TEXT(
    "quorva::words",
    "Bridge checks an iPhone backup after visible family setup. It is not a live iPhone message feed.");
inline constexpr const char* firstReleaseNote =
    QUORVA_TEXT("quorva::words", "The first release supports standard unencrypted iPhone backups. Backup "
                                 "passwords are never requested or uploaded.");
inline constexpr const char* launchAtLoginNote = QUORVA_TEXT(
    "quorva::words", "When enabled, Bridge stays ready to check for newer iPhone backups every 30 "
                     "minutes while you are signed in to this computer.");
inline constexpr const char* privacyNote = QUORVA_TEXT(
    "quorva::words", "The backup stays on this computer. Bridge checks incoming text locally and "
                     "sends only messages that match focused safety patterns for Quorva review. "
                     "Parents receive safety moments and Talk Pathway guidance, never a browsable "
                     "message archive.");
inline constexpr const char* noBackupFound = QUORVA_TEXT(
    "quorva::words", "No iPhone backup was found in that folder. Back up the iPhone with "
                     "\"idevicebackup2 backup --full FOLDER\", then choose the backup folder again.");
inline constexpr const char* launchAtLoginFailed =
    QUORVA_TEXT("quorva::words", "Launch at login could not be updated. You can also change it in your "
                                 "desktop's autostart settings.");
inline constexpr const char* chooserMessage = QUORVA_TEXT(
    "quorva::words", "Choose a specific iPhone backup or the folder that holds your iPhone backups. "
                     "Quorva remembers this folder and only reads it.");
// Where such a backup comes from on this desktop, in one line under the heading.
inline constexpr const char* backupHint =
    QUORVA_TEXT("quorva::words", "Make one with \"idevicebackup2 backup --full FOLDER\" from the "
                                 "libimobiledevice-utils package, with the iPhone connected by cable.");

#endif

} // namespace quorva::words
