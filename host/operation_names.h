// The names the progress box gives the operations that can last.
#pragma once

namespace host {

inline constexpr char kLoggingIn[] = "Entrando\x85";
inline constexpr char kUpdatingCategories[] = "Atualizando categorias\x85";
inline constexpr char kCheckingForUpdates[] = "Verificando atualiza\xe7\xf5" "es\x85";
inline constexpr char kDownloadingUpdate[] = "Baixando a atualiza\xe7\xe3o\x85";
inline constexpr char kPrintingTest[] = "Imprimindo teste\x85";
inline constexpr char kWaitingForService[] = "Aguardando o servi\xe7o de impress\xe3o\x85";
inline constexpr char kReadingLog[] = "Lendo o log do servi\xe7o\x85";
inline constexpr char kSaving[] = "Salvando\x85";

}  // namespace host
