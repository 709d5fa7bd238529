// Holds a key combination on the X11 root window, as another program that
// uses it would, until it is killed. Usage: grab_key o|p
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    const char letter = argc > 1 ? argv[1][0] : 'o';
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    auto* map = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    xcb_keycode_t code = 0;
    for (int i = 0; i < count && !code; ++i)
        if (syms[i * map->keysyms_per_keycode] == static_cast<xcb_keysym_t>(letter))
            code = static_cast<xcb_keycode_t>(setup->min_keycode + i);
    std::free(map);
    const uint16_t mods = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    if (xcb_generic_error_t* e =
            xcb_request_check(c, xcb_grab_key_checked(c, 1, root, mods, code, XCB_GRAB_MODE_ASYNC,
                                                      XCB_GRAB_MODE_ASYNC))) {
        std::free(e);
        return 2;
    }
    std::puts("grabbed");
    std::fflush(stdout);
    for (;;)
        pause();
}
