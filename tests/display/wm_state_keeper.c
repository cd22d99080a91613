/* Keeps the WM_STATE property of the display's top-level windows as a
 * window manager would: Normal (or Iconic, when the window asks to start so)
 * once mapped, Withdrawn once unmapped. Nothing else: no frames, focus or
 * stacking. The virtual displays of the tests run no window manager, and
 * Wine waits up to two seconds for that state on every hide of a window it
 * thinks is managed.
 *   wm_state_keeper     (on $DISPLAY; prints "ready" once it listens)
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>

static Atom wm_state;

static void set_state(Display *display, Window window, long state)
{
    long value[2] = {state, None};
    XChangeProperty(display, window, wm_state, wm_state, 32, PropModeReplace, (unsigned char *)value, 2);
}

static long state_when_mapped(Display *display, Window window)
{
    long state = NormalState;
    XWMHints *hints = XGetWMHints(display, window);
    if (hints) {
        if ((hints->flags & StateHint) && hints->initial_state == IconicState)
            state = IconicState;
        XFree(hints);
    }
    return state;
}

/* A window may be gone before its event is read. */
static int ignore_error(Display *display, XErrorEvent *error)
{
    (void)display;
    (void)error;
    return 0;
}

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "wm_state_keeper: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignore_error);
    wm_state = XInternAtom(display, "WM_STATE", False);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect)
            set_state(display, event.xmap.window, state_when_mapped(display, event.xmap.window));
        else if (event.type == UnmapNotify && event.xunmap.event == root)
            set_state(display, event.xunmap.window, WithdrawnState);
        XFlush(display);
    }
}
