"""The words of a native picture file, for the end-to-end checks."""
import struct


def words(path):
    """(width, height, words): the rows bottom-up, each its display words, then its frame words."""
    data = open(path, "rb").read()
    width, height = struct.unpack_from("<ii", data, 18)
    return width, height, struct.unpack_from("<%dI" % (width * height * 2), data, 54)


def pixels(path):
    """{(x, y): (colour, frame word)} with y counted from the top row."""
    width, height, all_words = words(path)
    shown = {}
    for row in range(height):
        y = height - 1 - row
        base = row * width * 2
        for x in range(width):
            shown[(x, y)] = (all_words[base + x] & 0xFFFFFF, all_words[base + width + x])
    return shown
