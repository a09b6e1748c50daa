/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _APPLICATION_H
#define _APPLICATION_H


#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Looper.h>
#include <Messenger.h>
#include <Point.h>
#include <Rect.h>


class BMessageRunner;
class BWindow;

struct app_info;


// The program's application: the looper of the main thread. Its Run() takes messages on the
// calling thread until Quit(); SIGINT and SIGTERM ask it to quit, the normal way. There is one
// per process, `be_app`; other processes find it through be_roster under its signature.
class BApplication : public BLooper {
public:
	// The signature must be a valid "application/..." MIME type: otherwise the error is
	// B_BAD_VALUE, and without an error pointer the process exits.
	BApplication(const char* signature);
	BApplication(const char* signature, status_t* error);
	virtual ~BApplication();

	status_t InitCheck() const;

	// Loops on the calling thread until Quit(); returns the thread's id. The application is
	// not deleted: its maker deletes it once Run() returns.
	virtual thread_id Run();
	virtual void Quit();

	// Hooks
	virtual bool QuitRequested();
	virtual void ReadyToRun();
	virtual void ArgvReceived(int32 argc, char** argv);
	virtual void RefsReceived(BMessage* message);
	virtual void AppActivated(bool active);
	virtual void AboutRequested();
	virtual void Pulse();
	virtual void MessageReceived(BMessage* message);
	virtual void DispatchMessage(BMessage* message, BHandler* handler);

	// B_PULSE every `rate` microseconds; 0 stops it.
	void SetPulseRate(bigtime_t rate);

	int32 CountWindows() const;
	BWindow* WindowAt(int32 index) const;

	// True until ReadyToRun() has returned
	bool IsLaunching() const;
	status_t GetAppInfo(app_info* info) const;
	const char* Signature() const;

private:
	BApplication(const BApplication&);
	BApplication& operator=(const BApplication&);

	void _InitData(const char* signature, status_t* error);
	void _PostArgv();
	bool _QuitAllWindows(bool force);
	void _InstallSignalHandlers();
	void _RemoveSignalHandlers();

	char fSignature[B_MIME_TYPE_LENGTH];
	status_t fInitError;
	BMessageRunner* fPulseRunner;
	bigtime_t fPulseRate;
	bool fReadyToRunCalled;
};


extern BApplication* be_app;
extern BMessenger be_app_messenger;


#endif // _APPLICATION_H
