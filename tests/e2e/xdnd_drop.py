#!/usr/bin/env python3
"""Drops a file onto whatever window lies under a point of the X display, the way
a file manager does it: an XDND drag source that offers the file as text/uri-list.

    xdnd_drop.py FILE X Y [--status-file PATH]

X and Y are root-window coordinates of the drop point. Exits 0 once the target
has taken the drop and said so with XdndFinished; otherwise prints why and exits
non-zero. With --status-file the outcome ("ok" or the reason) is also written to
PATH, for a caller that cannot wait for this process (a Windows program under
Wine starts host programs without a handle to them).
"""

import argparse
import os
import select
import sys
import time
import urllib.parse

try:
    from Xlib import X, Xatom, display, error, protocol
except ImportError:
    # Reported through the status file like any other failure, so that the caller
    # does not wait in vain.
    X = None

XDND_VERSION = 5
# Each step waits at most this long for the target's answer.
STEP_TIMEOUT = 10.0


class DropFailed(Exception):
    pass


class DragSource:
    def __init__(self, disp, path):
        self.disp = disp
        self.root = disp.screen().root
        self.atoms = {
            name: disp.intern_atom(name)
            for name in ("XdndAware", "XdndProxy", "XdndSelection", "XdndEnter",
                         "XdndPosition", "XdndStatus", "XdndLeave", "XdndDrop",
                         "XdndFinished", "XdndActionCopy", "TARGETS", "text/uri-list",
                         "TIVOLER_XDND_TIME")
        }
        self.uri_list = ("file://" + urllib.parse.quote(os.path.abspath(path)) + "\r\n").encode()
        # An unmapped window of our own: the selection owner and the source of the messages.
        self.window = self.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent,
                                              event_mask=X.PropertyChangeMask)
        self.data_requests = 0

    def atom(self, name):
        return self.atoms[name]

    def server_time(self):
        """A timestamp from the server: a property change on our window carries one."""
        self.window.change_property(self.atom("TIVOLER_XDND_TIME"), Xatom.INTEGER, 32, [0])
        self.disp.flush()
        event = self.wait_for(lambda e: e.type == X.PropertyNotify and
                              e.window.id == self.window.id, "the server's timestamp")
        return event.time

    def own_selection(self, timestamp):
        selection = self.atom("XdndSelection")
        self.window.set_selection_owner(selection, timestamp)
        if self.disp.get_selection_owner(selection).id != self.window.id:
            raise DropFailed("could not own XdndSelection")

    def find_target(self, x, y):
        """The deepest XDND-aware window under (x, y), with the version it speaks."""
        parent = self.root
        while True:
            child = parent.translate_coords(self.root, x, y).child
            if not child:
                raise DropFailed("no XdndAware window under (%d, %d)" % (x, y))
            aware = child.get_full_property(self.atom("XdndAware"), Xatom.ATOM)
            if aware is not None and len(aware.value) > 0:
                return child, int(aware.value[0])
            parent = child

    def send(self, target, message, data):
        data = list(data) + [0] * (5 - len(data))
        event = protocol.event.ClientMessage(window=target, client_type=self.atom(message),
                                             data=(32, data))
        target.send_event(event, event_mask=X.NoEventMask, propagate=False)
        self.disp.flush()

    def answer_request(self, request):
        """Hands the file list to a window that asks for our selection."""
        prop = request.property if request.property != X.NONE else request.target
        if request.selection != self.atom("XdndSelection"):
            prop = X.NONE
        elif request.target == self.atom("text/uri-list"):
            request.requestor.change_property(prop, self.atom("text/uri-list"), 8,
                                              self.uri_list)
            self.data_requests += 1
        elif request.target == self.atom("TARGETS"):
            request.requestor.change_property(prop, Xatom.ATOM, 32,
                                              [self.atom("TARGETS"), self.atom("text/uri-list")])
        else:
            prop = X.NONE
        notify = protocol.event.SelectionNotify(time=request.time, requestor=request.requestor,
                                                selection=request.selection,
                                                target=request.target, property=prop)
        request.requestor.send_event(notify)
        self.disp.flush()

    def wait_for(self, wanted, what):
        """Serves selection requests until an event for which wanted() holds arrives."""
        deadline = time.monotonic() + STEP_TIMEOUT
        while True:
            while self.disp.pending_events():
                event = self.disp.next_event()
                if event.type == X.SelectionRequest:
                    self.answer_request(event)
                elif event.type == X.SelectionClear:
                    raise DropFailed("lost XdndSelection while waiting for " + what)
                elif wanted(event):
                    return event
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise DropFailed("no answer within %.0f s: waited for %s" % (STEP_TIMEOUT, what))
            select.select([self.disp], [], [], remaining)

    def client_message(self, name):
        atom = self.atom(name)
        return lambda e: e.type == X.ClientMessage and e.client_type == atom

    def drop(self, x, y):
        timestamp = self.server_time()
        self.own_selection(timestamp)
        target, aware_version = self.find_target(x, y)
        version = min(XDND_VERSION, aware_version)
        if version < 3:
            raise DropFailed("the target speaks XDND version %d only" % aware_version)
        proxy = target.get_full_property(self.atom("XdndProxy"), Xatom.WINDOW)
        receiver = self.disp.create_resource_object("window", proxy.value[0]) if proxy else target
        source = self.window.id

        self.send(receiver, "XdndEnter", [source, version << 24, self.atom("text/uri-list")])
        self.send(receiver, "XdndPosition",
                  [source, 0, (x << 16) | (y & 0xFFFF), timestamp, self.atom("XdndActionCopy")])
        status = self.wait_for(self.client_message("XdndStatus"), "XdndStatus")
        if not status.data[1][1] & 1:
            self.send(receiver, "XdndLeave", [source])
            raise DropFailed("window 0x%x refused the drop at (%d, %d)" % (target.id, x, y))

        self.send(receiver, "XdndDrop", [source, 0, timestamp])
        finished = self.wait_for(self.client_message("XdndFinished"), "XdndFinished")
        if version >= 5 and not finished.data[1][1] & 1:
            raise DropFailed("window 0x%x finished without taking the drop" % target.id)
        if self.data_requests == 0:
            raise DropFailed("window 0x%x never asked for the file list" % target.id)
        return target


def drop_file(args):
    """Drops args.file at (args.x, args.y); "ok" or the reason it failed."""
    try:
        disp = display.Display()
        try:
            target = DragSource(disp, args.file).drop(args.x, args.y)
            print("dropped %s on window 0x%x" % (args.file, target.id))
        finally:
            disp.close()
    except (DropFailed, error.DisplayError, error.XError) as failure:
        return "drop failed: %s" % failure
    return "ok"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("file")
    parser.add_argument("x", type=int)
    parser.add_argument("y", type=int)
    parser.add_argument("--status-file")
    args = parser.parse_args()

    if X is None:
        outcome = "drop failed: python3-xlib is not installed"
    else:
        outcome = drop_file(args)
    if outcome != "ok":
        print(outcome, file=sys.stderr)
    if args.status_file:
        # Written whole under another name first, so that a reader never sees half of it.
        partial = args.status_file + ".part"
        with open(partial, "w") as status:
            status.write(outcome + "\n")
        os.replace(partial, args.status_file)
    return 0 if outcome == "ok" else 1


if __name__ == "__main__":
    sys.exit(main())
