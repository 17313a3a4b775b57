// The controls of the main window, declared the way a form file declares
// them: kind, name, parent, caption, position and size. Names are the
// program's component names; handlers bind to them in main_window.cpp.
#include "app/main_window_layout.h"

namespace app {

using ui::Kind;

const ui::FormSpec kMainFormSpec{"TForm1", kTitle, 546, 577, ui::Frame::Main};

// clang-format off
const ui::ControlSpec kMainControls[] = {
    // Login screen.
    {Kind::Panel, "gbLogin", "", "", 8, 8, 529, 561, false},
    {Kind::Label, "lbTitle", "gbLogin", "Bem vindo ao quelta servidor de impress\xe3o", 120, 150, 300, 16},
    {Kind::Label, "lbUser", "gbLogin", "Usu\xe1rio", 140, 200, 250, 14},
    {Kind::Edit, "edtUser", "gbLogin", "", 140, 216, 250, 21},
    {Kind::Label, "lbPass", "gbLogin", "Senha", 140, 248, 250, 14},
    {Kind::PasswordEdit, "edtPass", "gbLogin", "", 140, 264, 250, 21},
    {Kind::Button, "btnLogin", "gbLogin", "Acessar", 140, 300, 250, 30},

    // Log screen.
    {Kind::Panel, "gbLog", "", "", 8, 8, 529, 561},
    {Kind::Label, "Label1", "gbLog", "Log do servidor", 8, 14, 220, 14},
    {Kind::Button, "btnDiagnostico", "gbLog", "Diagn\xf3stico", 235, 8, 90, 25},
    {Kind::Button, "Button1", "gbLog", "Atualizar", 331, 8, 90, 25},
    {Kind::Button, "btnConfig", "gbLog", "Configura\xe7\xf5" "es", 427, 8, 94, 25},
    {Kind::Memo, "Memo1", "gbLog", "", 8, 40, 513, 321},
    {Kind::Label, "Label3", "gbLog", "Fila de Impress\xe3o", 8, 368, 300, 14},
    {Kind::Memo, "Memo2", "gbLog", "", 8, 384, 513, 169},

    // Configuration screen.
    {Kind::Panel, "gbConfig", "", "", 8, 8, 529, 561, false},
    {Kind::Button, "btnConfigBack", "gbConfig", "Voltar", 8, 8, 75, 25},
    {Kind::Button, "btnRestart", "gbConfig", "Reiniciar Servidor", 170, 8, 120, 25},
    {Kind::Button, "btnUpdate", "gbConfig", "Atualizar", 296, 8, 90, 25},
    {Kind::Button, "btnConfigSave", "gbConfig", "Salvar", 446, 8, 75, 25},
    {Kind::PageControl, "PageControl1", "gbConfig", "", 8, 40, 513, 300},
    {Kind::Page, "tsCategoria", "PageControl1", "Categorias", 0, 0, 0, 0},
    {Kind::ListView, "lvCategoria", "tsCategoria", "", 4, 4, 497, 258},
    {Kind::Page, "tsProduto", "PageControl1", "Produtos", 0, 0, 0, 0},
    {Kind::ListView, "lvProduto", "tsProduto", "", 4, 4, 497, 170},
    {Kind::Label, "lbProdutoNome", "tsProduto", "Nome:", 4, 186, 40, 14},
    {Kind::Edit, "edtProdutoNome", "tsProduto", "", 48, 182, 170, 21},
    {Kind::Label, "lbProdutoImpressora", "tsProduto", "Impressora:", 222, 186, 68, 14},
    {Kind::ComboList, "cbProdutoImpressora", "tsProduto", "", 290, 182, 210, 200},
    {Kind::Label, "lbProdutoSeparado", "tsProduto", "Separa Item:", 4, 218, 74, 14},
    {Kind::ComboList, "cbProdutoSeparado", "tsProduto", "", 80, 214, 70, 100},
    {Kind::Button, "btnProdutoAdicionar", "tsProduto", "Adicionar", 314, 212, 90, 25},
    {Kind::Button, "btnProdutoRemover", "tsProduto", "Remover", 410, 212, 90, 25},

    {Kind::Group, "gbImpressoras", "gbConfig", "Impressoras", 8, 348, 513, 189},
    {Kind::ListView, "lvImpressora", "gbImpressoras", "", 8, 18, 497, 128},
    {Kind::Button, "btnPrinterAdd", "gbImpressoras", "Adicionar", 8, 152, 90, 25},
    {Kind::Button, "btnPrinterRemove", "gbImpressoras", "Remover", 104, 152, 90, 25},
    {Kind::Button, "btnImpConfig", "gbImpressoras", "Configurar", 200, 152, 90, 25},
    {Kind::Button, "btnTest", "gbImpressoras", "Testar Imp.", 296, 152, 90, 25},

    // The printer configuration box, over the list and its buttons.
    {Kind::Group, "gbImpConfig", "gbImpressoras", "", 8, 18, 497, 161, false},
    {Kind::Label, "lbImpTipo", "gbImpConfig", "Tipo", 8, 18, 100, 14},
    {Kind::ComboList, "cbImpTipo", "gbImpConfig", "", 8, 32, 100, 200},
    {Kind::Label, "lbTipoText", "gbImpConfig", "Tipo", 114, 18, 140, 14},
    {Kind::ComboList, "cbImpTexto", "gbImpConfig", "", 114, 32, 140, 200},
    {Kind::Label, "lbImpFonteTitulo", "gbImpConfig", "Fonte Titulo", 114, 18, 68, 14},
    {Kind::ComboList, "cbImpTitulo", "gbImpConfig", "", 114, 32, 68, 200},
    {Kind::Label, "lbImpFonteItem", "gbImpConfig", "Fonte Item", 186, 18, 68, 14},
    {Kind::ComboList, "cbImpItem", "gbImpConfig", "", 186, 32, 68, 200},
    {Kind::Label, "lbTamanhoFolha", "gbImpConfig", "Tam. Folha", 260, 18, 64, 14},
    {Kind::Edit, "edtImpTamanhoFolha", "gbImpConfig", "", 260, 32, 60, 21},
    {Kind::Label, "lbEndereco", "gbImpConfig", "Endere\xe7o", 326, 18, 160, 14},
    {Kind::Edit, "edtEndereco", "gbImpConfig", "", 326, 32, 160, 21},
    {Kind::Label, "lbImpSepara", "gbImpConfig", "Separa Itens", 8, 60, 76, 14},
    {Kind::ComboList, "cbImpSepara", "gbImpConfig", "", 8, 74, 76, 100},
    {Kind::Label, "lbImpPadrao", "gbImpConfig", "Padr\xe3o", 90, 60, 76, 14},
    {Kind::ComboList, "cbImpPadrao", "gbImpConfig", "", 90, 74, 76, 100},
    {Kind::Label, "lbImpConferencia", "gbImpConfig", "Confer\xeancia", 172, 60, 76, 14},
    {Kind::ComboList, "cbImpConferencia", "gbImpConfig", "", 172, 74, 76, 100},
    {Kind::Label, "lbImpFechamentoConta", "gbImpConfig", "Fecha Conta", 254, 60, 76, 14},
    {Kind::ComboList, "cbImpFechamentoConta", "gbImpConfig", "", 254, 74, 76, 100},
    {Kind::Label, "lbImpGuilhotina", "gbImpConfig", "Guilhotina", 336, 60, 76, 14},
    {Kind::ComboList, "cbImpGuilhotina", "gbImpConfig", "", 336, 74, 76, 100},
    {Kind::Label, "lbImpQtdEnter", "gbImpConfig", "Qtd Enter Fim", 418, 60, 78, 14},
    {Kind::Edit, "edtImpQtdEnter", "gbImpConfig", "", 418, 74, 70, 21},
    {Kind::Label, "lbImpSeparaQtd", "gbImpConfig", "Sep. Qtd Itens", 8, 104, 80, 14},
    {Kind::ComboList, "cbImpSeparaQtd", "gbImpConfig", "", 8, 118, 76, 100},
    {Kind::Label, "lbImpChamarGarcom", "gbImpConfig", "Chama Gar\xe7om", 90, 104, 90, 14},
    {Kind::ComboList, "cbImpChamarGarcom", "gbImpConfig", "", 90, 118, 76, 100},
    {Kind::Label, "lbImpTrevio", "gbImpConfig", "Trevano", 182, 104, 70, 14},
    {Kind::ComboList, "cbImpTrevio", "gbImpConfig", "", 182, 118, 70, 100},
    {Kind::Label, "lbDetalheConta", "gbImpConfig", "Detalhe da Conta", 254, 104, 100, 14},
    {Kind::ComboList, "cbDetalheConta", "gbImpConfig", "", 254, 118, 76, 100},
    {Kind::Button, "btnImpSalvar", "gbImpConfig", "Salvar", 330, 130, 75, 25},
    {Kind::Button, "btnImpCancelar", "gbImpConfig", "Cancelar", 412, 130, 75, 25},

    // The test box, at the same place.
    {Kind::Group, "gbTeste", "gbImpressoras", "Teste", 8, 18, 497, 161, false},
    {Kind::Label, "Label4", "gbTeste", "Impressora", 8, 18, 200, 14},
    {Kind::ComboList, "cbTestImp", "gbTeste", "", 8, 32, 200, 200},
    {Kind::Label, "Label10", "gbTeste", "Tipo", 216, 18, 140, 14},
    {Kind::ComboList, "cbTestTipo", "gbTeste", "", 216, 32, 140, 200},
    {Kind::Label, "lbTestQtd", "gbTeste", "Quantidade", 364, 18, 80, 14, false},
    {Kind::Edit, "edtTestQtd", "gbTeste", "1", 364, 32, 80, 21, false},
    {Kind::Button, "btnVisualizar", "gbTeste", "Visualizar", 248, 130, 75, 25},
    {Kind::Button, "Button5", "gbTeste", "Testar", 330, 130, 75, 25},
    {Kind::Button, "Button4", "gbTeste", "Cancelar", 412, 130, 75, 25},
};
// clang-format on

const std::span<const ui::ControlSpec> kMainControlTable(kMainControls);

}  // namespace app
