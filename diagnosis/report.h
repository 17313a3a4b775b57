// The diagnosis's results as the window sums them up and as text: what
// "Copiar" puts on the clipboard and the support package's report.
#pragma once

#include <string>
#include <vector>

#include "diagnosis/check_line.h"

namespace diagnosis {

// "3 OK, 1 Atenção, 2 Erro", with the advice that matters most first.
std::string summary(const CheckLines& lines, bool finished);

// A heading with the tool's version and the time, then one block per line:
// "[Erro] Verificação: Resultado" and, when there are, "  O que fazer: ..." and
// "  Detalhe: ...";
// then "[Aguardando] <check>: ..." for each check that has not answered yet,
// and the summary, which until every check has answered says they are still
// running. Lines end with CR LF.
std::string reportText(const CheckLines& lines, const std::string& heading,
                       const std::vector<std::string>& unanswered = {});

}  // namespace diagnosis
