// The document string of a template: one string-table entry whose parts are
// separated by "\n", in this order: window title, document name, name for
// File New, filter name, filter extension, registry file type id, registry
// file type name. Missing trailing parts are empty. Window-free.
#pragma once

#include "CString.h"

enum KfDocStringIndex {
    kDocWindowTitle = 0,
    kDocName,
    kDocFileNewName,
    kDocFilterName,
    kDocFilterExt,
    kDocRegFileTypeId,
    kDocRegFileTypeName,
    kDocStringPartCount
};

// The part at index (empty when the string has fewer parts). FALSE for an
// index outside the table.
BOOL KfGetDocStringPart(const CString& docString, int index, CString& part);

// The file extension the template's documents take, with its leading dot
// (".kpt"), from the filter-extension part ("*.kpt", ".kpt" or "kpt"; the
// first of a ";"-separated list). Empty when the template names none.
CString KfDocFilterExtension(const CString& docString);

// The untitled document title: the document-name part, or "Untitled" when
// the template gives none, followed by the count when it is above 0.
CString KfUntitledTitle(const CString& docString, int count);
