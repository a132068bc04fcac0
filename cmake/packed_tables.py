"""What the table generators share: the IDNA mapping read from python3-idna's
file, numbers as varints, and bytes as a C string literal of lines."""
import importlib.util


def uts46_rows(path):
    """The rows of idna/uts46data.py and its version, read as a file."""
    found = importlib.util.spec_from_file_location("uts46data", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module.uts46data, module.__version__


def varint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        out.append(byte | (0x80 if value else 0))
        if not value:
            return out


def literal(data):
    lines, line = [], ""
    for byte in data:
        char = chr(byte)
        line += char if 32 <= byte < 127 and char not in '"\\?' else f"\\{byte:03o}"
        if len(line) >= 100:
            lines.append(f'    "{line}"')
            line = ""
    if line:
        lines.append(f'    "{line}"')
    return "\n".join(lines) if lines else '    ""'
