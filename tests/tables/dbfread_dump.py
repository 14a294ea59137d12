# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Tarvok developers
"""Prints a table as JSON through dbfread, a reader written independently
of Tarvok's engine: field names, record count from the header, records."""
import datetime
import json
import sys

import dbfread

table = dbfread.DBF(sys.argv[1], encoding="cp866", char_decode_errors="strict")
records = []
for record in table:
    row = []
    for value in record.values():
        if isinstance(value, datetime.date):
            value = value.isoformat()
        row.append(value)
    records.append(row)
print(json.dumps({"fields": table.field_names, "header_count": table.header.numrecords,
                  "records": records}, ensure_ascii=False))
