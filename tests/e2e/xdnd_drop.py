"""Drops files on a window as a file manager would, through the XDND protocol.

xdotool can move and click but cannot drag files from outside, so the end-to-end
tests play the drag source themselves: enter, position, drop, and the selection
request for the text/uri-list of the files.
Usage: python3 xdnd_drop.py <window id> <root x> <root y> <file>...
"""
import ctypes
import ctypes.util
import sys
import time
import urllib.parse

x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
Window = Atom = ctypes.c_ulong
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = Atom
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XCreateSimpleWindow.restype = Window
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window] + [ctypes.c_int] * 4 + [ctypes.c_uint] + [ctypes.c_ulong] * 2
x11.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, ctypes.c_ulong]
x11.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window),
                ("selection", Atom), ("target", Atom), ("property", Atom), ("time", ctypes.c_ulong)]


class Selection(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("selection", Selection), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31

display = x11.XOpenDisplay(None)
atom = lambda name: x11.XInternAtom(display, name.encode(), 0)
target, root_x, root_y = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3])
uris = "".join("file://" + urllib.parse.quote(path) + "\r\n" for path in sys.argv[4:]).encode()
uri_list = atom("text/uri-list")
source = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
x11.XSetSelectionOwner(display, atom("XdndSelection"), source, 0)


def send(name, *data):
    event = Event()
    event.client.type = CLIENT_MESSAGE
    event.client.window = target
    event.client.message_type = atom(name)
    event.client.format = 32
    for i, value in enumerate(data):
        event.client.l[i] = value
    x11.XSendEvent(display, target, 0, 0, ctypes.byref(event))
    x11.XFlush(display)


def wait_for(name, seconds=10):
    """Answers selection requests until the message `name` arrives."""
    wanted, end = atom(name), time.time() + seconds
    while time.time() < end:
        if not x11.XPending(display):
            time.sleep(0.01)
            continue
        event = Event()
        x11.XNextEvent(display, ctypes.byref(event))
        if event.type == SELECTION_REQUEST:
            r = event.request
            x11.XChangeProperty(display, r.requestor, r.property, r.target, 8, 0, uris, len(uris))
            reply = Event()
            reply.selection.type = SELECTION_NOTIFY
            reply.selection.requestor = r.requestor
            reply.selection.selection = r.selection
            reply.selection.target = r.target
            reply.selection.property = r.property
            reply.selection.time = r.time
            x11.XSendEvent(display, r.requestor, 0, 0, ctypes.byref(reply))
            x11.XFlush(display)
        elif event.type == CLIENT_MESSAGE and event.client.message_type == wanted:
            return event.client
    sys.exit("no %s from the window" % name)


send("XdndEnter", source, 5 << 24, uri_list, 0, 0)
send("XdndPosition", source, 0, (root_x << 16) | root_y, 0, atom("XdndActionCopy"))
status = wait_for("XdndStatus")
if not status.l[1] & 1:
    sys.exit("the window refuses the drop")
send("XdndDrop", source, 0, 0)
wait_for("XdndFinished", 60)
