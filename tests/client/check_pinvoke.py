#!/usr/bin/env python3
"""Checks that the C# P/Invoke declarations match quendel_time.h: the same functions, each
Cdecl (and Unicode where it passes text), parameter by parameter, and the same struct layouts.
    check_pinvoke.py quendel_time.h QuendelTime.cs"""
import re
import sys

header, cs = (open(p, encoding='utf-8').read() for p in sys.argv[1:3])
header = re.sub(r'/\*.*?\*/', '', header, flags=re.S)
# C type -> the C# forms that marshal it.
TYPES = {'int': {'int'}, 'unsigned long': {'uint'}, 'qt_int64': {'long'}, 'double': {'double'}, 'qt_status': {'int'},
         'long*': {'out int'}, 'int*': {'out int'}, 'qt_int64*': {'out long'}, 'double*': {'out double'},
         'wchar_t*': {'StringBuilder'}, 'const wchar_t*': {'string'}, 'qt_zone': {'IntPtr'}, 'qt_zone*': {'out IntPtr'},
         'qt_fields*': {'ref QtFields'}, 'const qt_fields*': {'ref QtFields'},
         'qt_local_result*': {'ref QtLocalResult'}, 'qt_changes*': {'ref QtChanges'},
         'qt_holiday*': {'[Out] QtHoliday[]'}, 'qt_stamp*': {'[Out] QtStamp[]'}, 'const qt_filetime*': {'ref QtFileTime'},
         'qt_filetime*': {'out QtFileTime'}, 'unsigned int': {'uint'}}
errors = []


def c_type(decl):
    decl = ' '.join(decl.replace('*', '* ').split())
    return re.sub(r'\s+\w+$', '', decl).replace(' *', '*').strip()


c_funcs = {m[1]: [c_type(p) for p in m[2].split(',')]
           for m in re.finditer(r'qt_status QT_CALL (\w+)\(([^)]*)\);', header)}
cs_funcs = {}
for m in re.finditer(r'\[DllImport\(Dll, ([^\]]*)\)\]\s*public static extern int (\w+)\(([^)]*)\);', cs):
    attrs, name, params = m.groups()
    cs_funcs[name] = [re.sub(r'\s+\w+$', '', p.strip()) for p in params.split(',')]
    if 'CallingConvention = Conv' not in attrs:
        errors.append(f'{name}: not Cdecl')
    if 'wchar_t' in ' '.join(c_funcs.get(name, [])) and 'CharSet = CharSet.Unicode' not in attrs:
        errors.append(f'{name}: texts not Unicode')
if 'Conv = CallingConvention.Cdecl' not in cs:
    errors.append('Conv is not CallingConvention.Cdecl')
if set(c_funcs) != set(cs_funcs):
    errors.append(f'functions differ: {sorted(set(c_funcs) ^ set(cs_funcs))}')
for name in set(c_funcs) & set(cs_funcs):
    c, s = c_funcs[name], cs_funcs[name]
    if len(c) != len(s) or any(b not in TYPES.get(a, ()) for a, b in zip(c, s)):
        errors.append(f'{name}: {c} against {s}')
# Structs: member types in order (a C# line may declare several fields of one type).
CS_STRUCT = {'qt_fields': 'QtFields', 'qt_local_result': 'QtLocalResult', 'qt_changes': 'QtChanges',
             'qt_holiday': 'QtHoliday', 'qt_filetime': 'QtFileTime',
             'qt_stamp': 'QtStamp'}
for c_name, cs_name in CS_STRUCT.items():
    body = re.search(r'typedef struct %s \{(.*?)\}' % c_name, header, re.S)[1]
    c_members = [TYPES[c_type(d)] for d in body.split(';') if d.strip()]
    cs_body = re.search(r'struct %s\s*\{(.*?)\}' % cs_name, cs, re.S)[1]
    cs_members = [t for t, names in re.findall(r'public (\w+) ([\w, ]+);', cs_body) for _ in names.split(',')]
    if len(c_members) != len(cs_members) or any(b not in a for a, b in zip(c_members, cs_members)):
        errors.append(f'struct {c_name}: {c_members} against {cs_members}')
print('\n'.join(errors) or f'{len(c_funcs)} functions and {len(CS_STRUCT)} structs match')
sys.exit(1 if errors else 0)
